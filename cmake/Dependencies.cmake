# Third-party code is installed on the machine (scripts/setup) and only used here.

# zlib for MinGW, from Debian's libz-mingw-w64-dev.
find_library(ORVANE_ZLIB NAMES libz.a z REQUIRED)
find_path(ORVANE_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(orvane_zlib INTERFACE)
target_link_libraries(orvane_zlib INTERFACE ${ORVANE_ZLIB})
target_include_directories(orvane_zlib SYSTEM INTERFACE ${ORVANE_ZLIB_INCLUDE})

# libjpeg-turbo, built for this target by scripts/setup into the build tree.
set(ORVANE_JPEG_DIR ${CMAKE_SOURCE_DIR}/build/deps/${CMAKE_SYSTEM_PROCESSOR}/libjpeg)
if(NOT EXISTS ${ORVANE_JPEG_DIR}/lib/libjpeg.a)
  message(FATAL_ERROR "libjpeg for ${CMAKE_SYSTEM_PROCESSOR} is missing: run scripts/setup")
endif()
add_library(orvane_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(orvane_jpeg PROPERTIES
  IMPORTED_LOCATION ${ORVANE_JPEG_DIR}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${ORVANE_JPEG_DIR}/include)

# GoogleTest from Debian's googletest sources, built for the target.
if(ORVANE_TESTS)
  set(ORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ORVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Its one large file took as long as a dozen of ours at -O2 -g; the tests'
  # run time does not depend on it.
  target_compile_options(gtest PRIVATE -O1 -g0)
endif()
