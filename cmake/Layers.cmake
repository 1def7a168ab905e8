# One library per layer, whose headers only its users can see.
#
#   zv_add_layer(<target> DIR <folder below src/>
#                SOURCES <file.cpp ...> [HEADERS <file.h ...>]
#                [PUBLIC <target ...>] [PRIVATE <target ...>] [QT])
#
# The layer's headers are reached as "<DIR>/<file.h>" through a folder of its
# own in the build tree (build/layers/<target>/<DIR>/, links to the files in
# src/), never through src/ itself. A file therefore sees the headers of its
# own layer and of the layers it links, and nothing else: an include that runs
# the wrong way does not compile ("No such file or directory").
#
# Every layer is built with the project's stricter warnings (zv_strict).
#
# QT marks a layer that uses Qt (its headers may declare Q_OBJECT classes);
# the others are built without moc.
function(zv_add_layer target)
  cmake_parse_arguments(L "QT" "DIR" "SOURCES;HEADERS;PUBLIC;PRIVATE" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${L_DIR})
  set(files)
  foreach(header ${L_HEADERS})
    set(real ${CMAKE_SOURCE_DIR}/src/${L_DIR}/${header})
    if(NOT EXISTS ${real})
      message(FATAL_ERROR "${target}: listed header ${L_DIR}/${header} does not exist")
    endif()
    file(CREATE_LINK ${real} ${root}/${L_DIR}/${header} SYMBOLIC)
    list(APPEND files ${real})
  endforeach()
  foreach(source ${L_SOURCES})
    list(APPEND files ${CMAKE_SOURCE_DIR}/src/${L_DIR}/${source})
  endforeach()

  if(L_SOURCES)
    add_library(${target} STATIC ${files})
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE} zv_options zv_strict)
  else()
    add_library(${target} INTERFACE ${files})
    target_include_directories(${target} INTERFACE ${root})
    target_link_libraries(${target} INTERFACE ${L_PUBLIC})
  endif()
  if(NOT L_QT AND L_SOURCES)
    set_target_properties(${target} PROPERTIES AUTOMOC OFF)
  endif()
endfunction()
