# Writes the disc's link file: one line, the marker and the download address.
if(LINK STREQUAL "" OR LINK MATCHES "[\r\n]")
  message(FATAL_ERROR "CVN_DOWNLOAD_LINK must be one non-empty line, got: '${LINK}'")
endif()
file(WRITE "${OUT}" "${MARKER}${LINK}\r\n")
