# Every library comes from the system (Debian packages installed by
# scripts/install-deps); nothing is vendored.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Test)
find_package(SQLite3 REQUIRED)
find_package(ZLIB REQUIRED)
find_package(GTest REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBMDB REQUIRED IMPORTED_TARGET libmdb glib-2.0)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
pkg_check_modules(NETTLE REQUIRED IMPORTED_TARGET nettle)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
