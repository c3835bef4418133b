# libdeflate: whole-buffer Deflate and CRC-32 for skin files. Debian 12 ships
# only its pkg-config file, no CMake package.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
find_package(Threads REQUIRED)
