# All third-party libraries come from Debian packages (scripts/packages.txt).
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets PrintSupport Multimedia Concurrent
             Test)
find_package(PkgConfig REQUIRED)

pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
pkg_check_modules(LIBJPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(LIBPNG REQUIRED IMPORTED_TARGET libpng)
# zlib's CRC for the resolution chunk added to PNG files.
find_package(ZLIB REQUIRED)
pkg_check_modules(IMAGEQUANT REQUIRED IMPORTED_TARGET imagequant)
pkg_check_modules(FREEXL REQUIRED IMPORTED_TARGET freexl)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
pkg_check_modules(LIBGSF REQUIRED IMPORTED_TARGET libgsf-1)
find_package(GIF REQUIRED)
find_package(X11 REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb xcb-keysyms)

find_package(GTest REQUIRED)
find_package(benchmark QUIET)

# OpenCV's object detection with the Haar cascades of opencv-data, for the face framing. The
# -dev packages carry no CMake package or pkg-config file, so the parts are found one by one;
# only src/core/face and src/core/background include OpenCV (and the tests that check them).
# The background change separates the person with imgproc's GrabCut and smooths the edge with
# the guided filter of contrib's ximgproc.
find_path(OPENCV_INCLUDE_DIR opencv2/objdetect.hpp PATH_SUFFIXES opencv4 REQUIRED)
find_library(OPENCV_OBJDETECT_LIBRARY opencv_objdetect REQUIRED)
find_library(OPENCV_IMGPROC_LIBRARY opencv_imgproc REQUIRED)
find_library(OPENCV_CORE_LIBRARY opencv_core REQUIRED)
find_library(OPENCV_XIMGPROC_LIBRARY opencv_ximgproc REQUIRED)
add_library(portiqa_opencv INTERFACE)
target_include_directories(portiqa_opencv SYSTEM INTERFACE ${OPENCV_INCLUDE_DIR})
target_link_libraries(portiqa_opencv INTERFACE ${OPENCV_OBJDETECT_LIBRARY}
                      ${OPENCV_XIMGPROC_LIBRARY} ${OPENCV_IMGPROC_LIBRARY} ${OPENCV_CORE_LIBRARY})
# dlib's shape predictor fits the face landmarks in the boxes OpenCV finds; its model comes
# from libdlib-data. dlib's pkg-config file hands its BLAS and LAPACK over as linker flags,
# which land before the libraries that need them, so they are named as libraries here.
find_library(DLIB_LIBRARY dlib REQUIRED)
find_library(DLIB_BLAS_LIBRARY blas REQUIRED)
find_library(DLIB_LAPACK_LIBRARY lapack REQUIRED)
add_library(portiqa_dlib INTERFACE)
target_link_libraries(portiqa_dlib INTERFACE ${DLIB_LIBRARY} ${DLIB_LAPACK_LIBRARY}
                      ${DLIB_BLAS_LIBRARY})
