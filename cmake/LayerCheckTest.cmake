# cmake -DWORK_DIR=<scratch folder> -P LayerCheckTest.cmake
# Runs cmake/LayerCheck.cmake over a small tree that follows the rules, then
# over copies of it with one planted fault each: the clean tree must pass and
# every planted fault must be refused with its own message.
cmake_minimum_required(VERSION 3.25)
if(NOT WORK_DIR)
  message(FATAL_ERROR "LayerCheckTest: pass -DWORK_DIR=<scratch folder>")
endif()
set(check ${CMAKE_CURRENT_LIST_DIR}/LayerCheck.cmake)

# A tree with one file in a few layers, each including what it may.
function(write_clean_tree root)
  file(REMOVE_RECURSE ${root})
  file(WRITE ${root}/base/Log.h "#pragma once\n#include <windows.h>\n")
  file(WRITE ${root}/toolkit/Form.h "#pragma once\n#include \"base/Log.h\"\n")
  file(WRITE ${root}/skinfile/Model.h "#pragma once\n#include <string>\n")
  file(WRITE ${root}/startpanel/StartPanel.cpp
    "#include \"startpanel/StartPanel.h\"\n#include \"toolkit/Form.h\"\n#include <vector>\n")
  file(WRITE ${root}/startpanel/StartPanel.h "#pragma once\n")
  file(WRITE ${root}/taskbar/TaskbarForm.cpp "#include \"winwatch/winwatch.h\"\n")
  file(WRITE ${root}/winwatch/winwatch.h "#pragma once\n")
  file(WRITE ${root}/winwatch/winwatch.rc "#include <windows.h>\n#include \"packaging/VersionInfo.rc\"\n")
  file(WRITE ${root}/packaging/VersionInfo.rc "#include \"base/Version.h\"\n")
  file(WRITE ${root}/app/Main.cpp "#include \"taskbar/TaskbarForm.h\"\n#include \"startpanel/StartPanel.h\"\n")
  file(WRITE ${root}/tests/taskbar/Tests.cpp "#include \"startpanel/StartPanel.h\"\n#include \"../x.h\"\n")
  file(WRITE ${root}/docs/notes.txt "not a source\n")
endfunction()

set(failures 0)
# Runs the check over `root`; `expect` is PASS or the text the refusal must
# carry.
function(expect_check name root expect)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -P ${check}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # CMake wraps the lines of an error message: compare with the blanks folded.
  string(REGEX REPLACE "[ \t\r\n]+" " " text "${out}${err}")
  if(expect STREQUAL "PASS")
    if(NOT result EQUAL 0)
      message(SEND_ERROR "${name}: the check refused a tree that follows the rules:\n${text}")
      math(EXPR failures "${failures} + 1")
    endif()
  else()
    string(FIND "${text}" "${expect}" found)
    if(result EQUAL 0 OR found EQUAL -1)
      message(SEND_ERROR "${name}: not refused with \"${expect}\" (result ${result}):\n${text}")
      math(EXPR failures "${failures} + 1")
    endif()
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

set(clean ${WORK_DIR}/clean)
write_clean_tree(${clean})
expect_check("clean tree" ${clean} PASS)

# name | file, relative to the tree | its text | the refusal expected
set(plants
  "feature includes feature|startpanel/Slide.cpp|#include \"taskbar/TaskbarForm.h\"\n|startpanel/ may not use taskbar/"
  "upward include|base/Config.cpp|#include \"toolkit/Form.h\"\n|base/ may not use toolkit/"
  "angle brackets|startpanel/Slide.cpp|#include <taskbar/TaskbarForm.h>\n|name the project's headers in quotes"
  "angle brackets, spaced|base/Text.cpp|#  include   <base/Log.h>\n|name the project's headers in quotes"
  "dot-dot to climb out|startpanel/Slide.cpp|#include \"../taskbar/TaskbarForm.h\"\n|no \"..\" in an include"
  "dot-dot inside a path|startpanel/Slide.cpp|#include \"toolkit/../taskbar/TaskbarForm.h\"\n|no \"..\" in an include"
  "dot-dot with backslashes|startpanel/Slide.cpp|#include \"toolkit\\\\..\\\\taskbar\\\\TaskbarForm.h\"\n|no \"..\" in an include"
  "unknown top-level folder|extras/Helper.cpp|#include \"base/Log.h\"\n|extras/: a folder with sources"
  "include from an unknown folder|startpanel/Slide.cpp|#include \"extras/Helper.h\"\n|extras/ is no folder of product code"
  "include from the tests|startpanel/Slide.cpp|#include \"tests/support/TestSupport.h\"\n|tests/ is no folder of product code"
  "upward include in a resource|winwatch/winwatch.rc|#include \"taskbar/TaskbarForm.h\"\n|winwatch/ may not use taskbar/"
  "resource reaching base directly|winwatch/hook.rc|#include \"base/Version.h\"\n|winwatch/ may not use base/"
  "Windows header in portable code|skinfile/Model.cpp|#include <windows.h>\n|skinfile/ builds without the Windows headers")

set(index 0)
foreach(plant ${plants})
  string(REPLACE "|" ";" parts "${plant}")
  list(GET parts 0 name)
  list(GET parts 1 file)
  list(GET parts 2 text)
  list(GET parts 3 expect)
  string(REPLACE "\\n" "\n" text "${text}")
  math(EXPR index "${index} + 1")
  set(root ${WORK_DIR}/plant${index})
  write_clean_tree(${root})
  file(WRITE ${root}/${file} "${text}")
  expect_check("${name}" ${root} "${expect}")
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "LayerCheckTest: ${failures} case(s) failed")
endif()
message(STATUS "LayerCheckTest: the clean tree passes, ${index} planted faults are refused")
