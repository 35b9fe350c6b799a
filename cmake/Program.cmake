# All of the shell's code but the entry goes into one static library, which the
# program and the unit tests link alike.
set(ORVANE_SUBSYSTEMS shell skin taskbar tray startpanel desktop files settings)
set(ORVANE_LIB_SOURCES)
foreach(dir ${ORVANE_SUBSYSTEMS})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND ORVANE_LIB_SOURCES ${sources})
endforeach()
list(REMOVE_ITEM ORVANE_LIB_SOURCES ${CMAKE_SOURCE_DIR}/shell/Orvane_Shell.cpp)

add_library(orvane_lib STATIC ${ORVANE_LIB_SOURCES})
target_include_directories(orvane_lib PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(orvane_lib PRIVATE ${ORVANE_WARNINGS})
target_link_libraries(orvane_lib PUBLIC winwatch orvane_zlib orvane_jpeg
  ole32 oleaut32 uuid shell32 shlwapi comctl32 comdlg32 gdi32 user32 advapi32 version)

add_executable(Orvane_Shell WIN32 ${CMAKE_SOURCE_DIR}/shell/Orvane_Shell.cpp)
target_compile_options(Orvane_Shell PRIVATE ${ORVANE_WARNINGS})
target_link_libraries(Orvane_Shell PRIVATE orvane_lib)
