# Common compile options for every target of the project.
add_library(zv_options INTERFACE)
target_compile_options(zv_options INTERFACE -Wall -Wextra)
# Link only the shared libraries a program really uses: the launcher does not
# load the viewer's metafile libraries, for example.
target_link_options(zv_options INTERFACE -Wl,--as-needed)
if(ZV_WERROR)
  target_compile_options(zv_options INTERFACE -Werror)
endif()
if(ZV_SANITIZE)
  target_compile_options(zv_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                              -fno-sanitize-recover=undefined)
  target_link_options(zv_options INTERFACE -fsanitize=address,undefined)
endif()
if(ZV_FUZZ)
  # Instrument the library for coverage; only the fuzz executables link the
  # fuzzer's main.
  target_compile_options(zv_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                              -fno-sanitize-recover=undefined -fno-omit-frame-pointer
                                              -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/fuzz/coverage-ignore.txt)
  target_link_options(zv_options INTERFACE -fsanitize=address,undefined)
endif()
