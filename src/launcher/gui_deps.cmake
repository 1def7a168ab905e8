# The launcher's windows ask fontconfig which font the system prefers for
# Japanese text (launcher/gui/interface_font.cpp).
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZV_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
target_link_libraries(zvgui PRIVATE PkgConfig::ZV_FONTCONFIG)
