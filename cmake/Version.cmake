# The program's name, version and publisher in one place. The version is the
# project's (top CMakeLists.txt); the header below carries it into the version
# resources of Orvane_Shell.exe and winwatch.dll, into the code (the about box)
# and, through cmake/Packaging.cmake, into the packages.
set(ORVANE_PRODUCT_NAME "Orvane Shell")
set(ORVANE_PUBLISHER "Orvane Shell Project")
set(ORVANE_COPYRIGHT "Copyright (C) 2026 Orvane Shell Project")
set(ORVANE_VERSION_TEXT ${PROJECT_VERSION})
# A version resource has four numbers; a part the project leaves out is 0.
foreach(part MAJOR MINOR PATCH)
  set(ORVANE_VERSION_${part} ${PROJECT_VERSION_${part}})
  if(ORVANE_VERSION_${part} STREQUAL "")
    set(ORVANE_VERSION_${part} 0)
  endif()
endforeach()

set(ORVANE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/Version.h.in ${ORVANE_GENERATED_DIR}/base/Version.h @ONLY)
set(ORVANE_VERSION_RESOURCE_INPUTS ${ORVANE_GENERATED_DIR}/base/Version.h
  ${CMAKE_SOURCE_DIR}/packaging/VersionInfo.rc)
