# Read by cpack for each generator, after `cpack -D` settings: the version may
# come from the command line (a test builds a newer installer that way).
set(CPACK_PACKAGE_FILE_NAME "OrvaneShell-${CPACK_PACKAGE_VERSION}-${CPACK_ORVANE_ARCH}")
if(CPACK_GENERATOR STREQUAL "NSIS")
  string(APPEND CPACK_PACKAGE_FILE_NAME "-setup")
endif()

string(REGEX MATCHALL "[0-9]+" parts "${CPACK_PACKAGE_VERSION}")
list(APPEND parts 0 0 0 0)
list(SUBLIST parts 0 4 parts)
list(JOIN parts "." CPACK_ORVANE_VERSION4)
