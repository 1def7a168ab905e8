# Installs every program that the build puts into the stage folder: the
# launcher, the viewer, the invoker and every game engine, whichever
# CMakeLists.txt defines it. Programs land at the top of the installation
# prefix, beside the data folders, because every path the programs use is
# built from their own directory. Test, benchmark and helper programs are
# left out by where they are defined (and they build outside the stage).

function(zv_collect_stage_programs dir out)
  set(found)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
      continue()
    endif()
    get_target_property(output ${target} RUNTIME_OUTPUT_DIRECTORY)
    get_target_property(source ${target} SOURCE_DIR)
    if(output STREQUAL ZV_STAGE_DIR AND NOT source MATCHES "^${CMAKE_SOURCE_DIR}/(tests|bench|fuzz|tools)(/|$)")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    zv_collect_stage_programs(${sub} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

zv_collect_stage_programs(${CMAKE_SOURCE_DIR} ZV_INSTALLED_PROGRAMS)
if(ZV_INSTALLED_PROGRAMS)
  install(TARGETS ${ZV_INSTALLED_PROGRAMS} RUNTIME DESTINATION .)
endif()
message(STATUS "Installed programs: ${ZV_INSTALLED_PROGRAMS}")
