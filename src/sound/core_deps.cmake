# Sound playback: SDL2_mixer (WAV, and MIDI through its FluidSynth backend).
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZV_SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer>=2.6)
# Private: only audio_sdl.cpp sees SDL headers; the link still carries over.
target_link_libraries(zvcore PRIVATE PkgConfig::ZV_SDL2_MIXER)
