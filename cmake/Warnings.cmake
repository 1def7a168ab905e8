# Common compile options for every target of the project.
add_library(zv_options INTERFACE)
target_compile_options(zv_options INTERFACE -Wall -Wextra)
# Link only the shared libraries a program really uses: the launcher does not
# load the viewer's metafile libraries, for example.
target_link_options(zv_options INTERFACE -Wl,--as-needed)
# Warnings are errors for the project's own builds (ZV_WERROR, on in a git
# checkout and in scripts/build.sh), never for someone who builds a source
# package with another compiler.
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

# The stricter set of the launcher, the viewer, the invoker and their tests
# (engines/ sets the same flags for its own folder):
# a name that hides another, a class with virtual functions and a public
# non-virtual destructor, and a virtual function hidden by an overload.
add_library(zv_strict INTERFACE)
target_compile_options(zv_strict INTERFACE -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
