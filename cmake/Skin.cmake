# The skin file: content/skin/Orvane.skin.txt compiled into Skins/Orvane.skn.
# The compiler shares the format code in skinfile/ but runs on the build machine, so
# it is built with the host's C++ compiler and zlib, not the cross toolchain.
find_program(ORVANE_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_file(ORVANE_HOST_ZLIB_H zlib.h PATHS /usr/include /usr/local/include
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ORVANE_HOST_ZLIB_H)
  message(FATAL_ERROR "The skin compiler needs the build machine's zlib (zlib1g-dev)")
endif()

set(ORVANE_SKINC_SOURCES
  ${CMAKE_SOURCE_DIR}/skinfile/compiler/SkinCompiler.cpp
  ${CMAKE_SOURCE_DIR}/skinfile/SkinModel.cpp
  ${CMAKE_SOURCE_DIR}/skinfile/SkinSource.cpp
  ${CMAKE_SOURCE_DIR}/skinfile/SkinPayload.cpp
  ${CMAKE_SOURCE_DIR}/skinfile/SkinContainer.cpp
  ${CMAKE_SOURCE_DIR}/skinfile/SkinBitmap.cpp)
set(ORVANE_SKINC_HEADERS
  ${CMAKE_SOURCE_DIR}/skinfile/SkinModel.h
  ${CMAKE_SOURCE_DIR}/skinfile/SkinSource.h
  ${CMAKE_SOURCE_DIR}/skinfile/SkinPayload.h
  ${CMAKE_SOURCE_DIR}/skinfile/SkinContainer.h
  ${CMAKE_SOURCE_DIR}/skinfile/SkinBitmap.h)
set(ORVANE_SKINC ${CMAKE_BINARY_DIR}/host/orvane-skinc)

add_custom_command(OUTPUT ${ORVANE_SKINC}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${ORVANE_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -I${CMAKE_SOURCE_DIR}
          ${ORVANE_SKINC_SOURCES} -lz -o ${ORVANE_SKINC}
  DEPENDS ${ORVANE_SKINC_SOURCES} ${ORVANE_SKINC_HEADERS}
  COMMENT "Building the skin compiler for the build machine"
  VERBATIM)

# Everything in content/skin, so a bitmap the source names rebuilds the skin too.
file(GLOB ORVANE_SKIN_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/skin/*)
set(ORVANE_SKIN_FILE ${CMAKE_BINARY_DIR}/content/Skins/Orvane.skn)
add_custom_command(OUTPUT ${ORVANE_SKIN_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/content/Skins
  COMMAND ${ORVANE_SKINC} ${CMAKE_SOURCE_DIR}/content/skin/Orvane.skin.txt ${ORVANE_SKIN_FILE}
  DEPENDS ${ORVANE_SKINC} ${ORVANE_SKIN_INPUTS}
  COMMENT "Compiling the skin Orvane.skn"
  VERBATIM)
add_custom_target(orvane_skin ALL DEPENDS ${ORVANE_SKIN_FILE})

install(FILES ${ORVANE_SKIN_FILE} DESTINATION Skins)
