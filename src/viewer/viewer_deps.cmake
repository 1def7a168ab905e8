# Metafile rendering: libwmf for Windows metafiles, libemf2svg for enhanced
# metafiles; both give SVG that Qt SVG draws.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZV_LIBWMF REQUIRED IMPORTED_TARGET libwmf)
find_path(ZV_EMF2SVG_INCLUDE emf2svg.h REQUIRED)
find_library(ZV_EMF2SVG_LIBRARY emf2svg REQUIRED)
target_include_directories(zvviewer PRIVATE ${ZV_EMF2SVG_INCLUDE})
target_link_libraries(zvviewer PUBLIC PkgConfig::ZV_LIBWMF ${ZV_EMF2SVG_LIBRARY})
