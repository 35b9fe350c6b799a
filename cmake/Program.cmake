# All of the shell's code but the entry goes into one static library, which the
# program and the unit tests link alike. The folders are the layers; what each
# may include is written in docs/ARCHITECTURE.md and checked by layer_check.
set(ORVANE_LAYERS base system skinfile paint toolkit widgets i18n
  tray taskbar appbar startpanel desktop files settings app)
set(ORVANE_LIB_SOURCES)
foreach(dir ${ORVANE_LAYERS})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND ORVANE_LIB_SOURCES ${sources})
endforeach()
list(REMOVE_ITEM ORVANE_LIB_SOURCES ${CMAKE_SOURCE_DIR}/app/Orvane_Shell.cpp)

add_library(orvane_lib STATIC ${ORVANE_LIB_SOURCES})
target_include_directories(orvane_lib PUBLIC ${CMAKE_SOURCE_DIR} ${ORVANE_GENERATED_DIR})
target_compile_options(orvane_lib PRIVATE ${ORVANE_WARNINGS})
# The Windows and standard headers take most of each file's compile time.
set(ORVANE_COMMON_HEADERS <windows.h> <algorithm> <cstdint> <functional> <memory> <optional>
  <string> <vector>)
target_precompile_headers(orvane_lib PRIVATE ${ORVANE_COMMON_HEADERS})
target_link_libraries(orvane_lib PUBLIC winwatch orvane_zlib orvane_jpeg
  ole32 oleaut32 uuid shell32 shlwapi comctl32 gdi32 user32 advapi32 version mpr)

add_executable(Orvane_Shell WIN32 ${CMAKE_SOURCE_DIR}/app/Orvane_Shell.cpp
  ${CMAKE_SOURCE_DIR}/app/Orvane_Shell.rc)
# windres reports no dependencies: name what the resource script reads.
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/Orvane_Shell.rc PROPERTIES OBJECT_DEPENDS
  "${ORVANE_VERSION_RESOURCE_INPUTS};${CMAKE_SOURCE_DIR}/app/Orvane_Shell.ico;${CMAKE_SOURCE_DIR}/app/Orvane_Shell.manifest")
target_compile_options(Orvane_Shell PRIVATE ${ORVANE_WARNINGS})
target_link_libraries(Orvane_Shell PRIVATE orvane_lib)
