# cmake --install BUILD --prefix DIR assembles the program folder.
install(TARGETS Orvane_Shell RUNTIME DESTINATION .)
install(TARGETS winwatch RUNTIME DESTINATION . LIBRARY DESTINATION .)
foreach(folder Languages Links/Groups Links/Desktop Icons/System Skins Help wallpaper)
  install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${folder}\")")
  if(EXISTS ${CMAKE_SOURCE_DIR}/content/${folder})
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/content/${folder}/ DESTINATION ${folder})
  endif()
endforeach()
