# One library per layer, whose headers only its users can see.
#
#   zv_add_layer(<target> [ROOT <top folder>] DIR <folder below ROOT>
#                SOURCES <file.cpp ...> [HEADERS <file.h ...>]
#                [PUBLIC <target ...>] [PRIVATE <target ...>] [QT])
#
# ROOT is the top folder the layers of one tree live in: src (the launcher,
# the default), engines or tests. The layer's headers are reached as
# "<DIR>/<file.h>" through a folder of its own in the build tree
# (build/layers/<target>/<DIR>/, links to the files in ROOT/), never through
# ROOT itself. A file therefore sees the headers of its own layer and of the
# layers it links, and nothing else: an include that runs the wrong way does
# not compile ("No such file or directory").
#
# Every layer is built with the project's stricter warnings (zv_strict).
#
# QT marks a layer that uses Qt (its headers may declare Q_OBJECT classes);
# the others are built without moc.
function(zv_add_layer target)
  cmake_parse_arguments(L "QT" "ROOT;DIR" "SOURCES;HEADERS;PUBLIC;PRIVATE" ${ARGN})
  if(NOT L_ROOT)
    set(L_ROOT src)
  endif()
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${L_DIR})
  set(files)
  foreach(header ${L_HEADERS})
    set(real ${CMAKE_SOURCE_DIR}/${L_ROOT}/${L_DIR}/${header})
    if(NOT EXISTS ${real})
      message(FATAL_ERROR "${target}: listed header ${L_DIR}/${header} does not exist")
    endif()
    file(CREATE_LINK ${real} ${root}/${L_DIR}/${header} SYMBOLIC)
    list(APPEND files ${real})
  endforeach()
  foreach(source ${L_SOURCES})
    list(APPEND files ${CMAKE_SOURCE_DIR}/${L_ROOT}/${L_DIR}/${source})
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
