# Writes the disc image OUT from FOLDER with volume label LABEL: ISO 9660
# with Joliet and Rock Ridge names, every date (volume, files, UUID) set to
# EPOCH (seconds since 1970), so that the same files give the same bytes.
foreach(input XORRISO FOLDER OUT LABEL EPOCH)
  if(NOT DEFINED ${input} OR "${${input}}" STREQUAL "")
    message(FATAL_ERROR "write_iso.cmake needs ${input}")
  endif()
endforeach()
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})
set(ENV{TZ} UTC)
string(TIMESTAMP stamp "%Y%m%d%H%M%S00" UTC)
file(REMOVE "${OUT}")
execute_process(
  COMMAND "${XORRISO}" -as mkisofs -quiet -J -joliet-long -r -V "${LABEL}"
          --modification-date=${stamp} --set_all_file_dates ${stamp}
          -o "${OUT}" "${FOLDER}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  file(REMOVE "${OUT}")
  message(FATAL_ERROR "xorriso could not write ${OUT}:\n${out}")
endif()
