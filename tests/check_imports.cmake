# The launcher and its image DLL import only DLLs that Windows always takes
# from the system folder (its known DLLs), since the loader resolves
# imports before the launcher can lock the DLL search; the image DLL and
# the common controls are loaded later, the DLL once checked. And the
# launcher must be a GUI program of the build's processor: FORMAT is
# pei-i386 for the shipped build, pei-x86-64 for its twin.
set(allowed advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll)
foreach(binary ${EXE} ${DLL})
  execute_process(COMMAND ${OBJDUMP} -p ${binary} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${binary}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
  foreach(line ${names})
    string(REPLACE "DLL Name: " "" name "${line}")
    string(TOLOWER "${name}" name)
    list(FIND allowed ${name} found)
    if(found EQUAL -1)
      message(FATAL_ERROR "${binary} imports ${name}, which is not one of Windows' known DLLs")
    endif()
    message(STATUS "${binary}: ${name}")
  endforeach()
endforeach()
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE exe_dump)
if(NOT exe_dump MATCHES "file format ${FORMAT}\n")
  message(FATAL_ERROR "${EXE} is not a ${FORMAT} file")
endif()
if(NOT exe_dump MATCHES "Subsystem[\t ]+00000002")
  message(FATAL_ERROR "${EXE} is not a Windows GUI program")
endif()
if(exe_dump MATCHES "[Cc][Vv][Nn][Ii]mage\\.dll|[Cc][Oo][Mm][Cc][Tt][Ll]32")
  message(FATAL_ERROR "${EXE} imports the image DLL or the common controls, which it must load itself")
endif()
# Windows XP (major version 5) must be able to load both: none of the
# functions its kernel32 lacks may be imported.
set(vista_only GetTickCount64 CompareStringOrdinal InitializeConditionVariable SleepConditionVariableCS
               WakeConditionVariable InitializeSRWLock AcquireSRWLockExclusive InitOnceExecuteOnce
               GetLocaleInfoEx LCIDToLocaleName CreateSymbolicLinkW GetFinalPathNameByHandleW
               SetThreadUILanguage)
foreach(binary ${EXE} ${DLL})
  execute_process(COMMAND ${OBJDUMP} -p ${binary} OUTPUT_VARIABLE dump)
  foreach(function ${vista_only})
    if(dump MATCHES "[ \t]${function}\n")
      message(FATAL_ERROR "${binary} imports ${function}, which Windows XP lacks")
    endif()
  endforeach()
endforeach()
