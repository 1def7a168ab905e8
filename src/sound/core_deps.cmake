# Sound playback: SDL2_mixer (WAV, and MIDI through its FluidSynth backend).
# Only its headers are used at build time; audio_sdl.cpp loads the library
# with dlopen on first use.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZV_SDL2_MIXER REQUIRED SDL2_mixer>=2.6)
target_include_directories(zvcore SYSTEM PRIVATE ${ZV_SDL2_MIXER_INCLUDE_DIRS})
target_compile_options(zvcore PRIVATE ${ZV_SDL2_MIXER_CFLAGS_OTHER})
target_link_libraries(zvcore PUBLIC ${CMAKE_DL_LIBS})
