# The packages: a portable zip of the program folder and an NSIS installer,
# both from the install rules (cmake/ProgramFolder.cmake, cmake/Skin.cmake).
# scripts/package builds them for both presets; by hand, in a build tree:
#   cmake --build . --target Orvane_Shell winwatch orvane_skin && cpack -B packages
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CPACK_ORVANE_ARCH win64)
  set(CPACK_ORVANE_NSIS_TARGET amd64-unicode)
  set(CPACK_ORVANE_PROGRAM_FILES "$PROGRAMFILES64")
else()
  set(CPACK_ORVANE_ARCH win32)
  set(CPACK_ORVANE_NSIS_TARGET x86-unicode)
  set(CPACK_ORVANE_PROGRAM_FILES "$PROGRAMFILES")
endif()

set(CPACK_GENERATOR ZIP NSIS)
# Values reach cpack as written here (NSIS code with quotes and backslashes).
set(CPACK_VERBATIM_VARIABLES TRUE)
set(CPACK_PACKAGE_NAME OrvaneShell)
set(CPACK_PACKAGE_VENDOR ${ORVANE_PUBLISHER})
set(CPACK_PACKAGE_VERSION ${ORVANE_VERSION_TEXT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${ORVANE_PRODUCT_NAME}: a desktop shell for Windows")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${ORVANE_PRODUCT_NAME})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY OrvaneShell)
set(CPACK_ORVANE_PRODUCT_NAME ${ORVANE_PRODUCT_NAME})
set(CPACK_ORVANE_COPYRIGHT ${ORVANE_COPYRIGHT})
set(CPACK_ORVANE_ICON ${CMAKE_SOURCE_DIR}/app/Orvane_Shell.ico)
set(CPACK_ORVANE_NSIS_DIR ${CMAKE_SOURCE_DIR}/packaging)
# Shipped without debug information; the build tree keeps it.
set(CPACK_STRIP_FILES TRUE)
# File names per generator and the installer's four-part version.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/CPackOptions.cmake)

# The installer makes every folder of the program folder, empty ones too.
set(CPACK_ORVANE_NSIS_FOLDERS "")
foreach(folder ${ORVANE_PROGRAM_FOLDERS})
  string(REPLACE "/" "\\" folder "${folder}")
  string(APPEND CPACK_ORVANE_NSIS_FOLDERS "  CreateDirectory \"$INSTDIR\\${folder}\"\n")
endforeach()

# CPack takes NSIS.template.in from the module path: ours is in packaging/.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging)
# cpack must not build the tests: the package needs the program targets only,
# which scripts/package builds first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
