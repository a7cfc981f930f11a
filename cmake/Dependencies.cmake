# All third-party libraries come from Debian packages (scripts/packages.txt).
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Multimedia Concurrent Test)
find_package(PkgConfig REQUIRED)

pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
pkg_check_modules(LIBJPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(LIBPNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(IMAGEQUANT REQUIRED IMPORTED_TARGET imagequant)
pkg_check_modules(FREEXL REQUIRED IMPORTED_TARGET freexl)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
pkg_check_modules(LIBGSF REQUIRED IMPORTED_TARGET libgsf-1)
find_package(GIF REQUIRED)
find_package(X11 REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb xcb-keysyms)

find_package(GTest REQUIRED)
find_package(benchmark QUIET)
