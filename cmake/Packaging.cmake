# The Debian package, made by CPack from the release build
# (`cpack -G DEB` in build/release, or scripts/package.sh): what
# cmake/Install.cmake installs, under /usr. Dependencies are found from the
# programs' shared libraries (dpkg-shlibdeps), plus what the client library
# loads at run time (the embedded database engine) and the fonts the layouts
# were designed with. The desktop, MIME, icon and manual-page caches are
# refreshed by the triggers of the packages that own them, so the package
# needs no maintainer scripts.
set(BRP_PACKAGE_MAINTAINER "Pedidos maintainers <pedidos@pedidos.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pedidos)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pedidos developers")
set(CPACK_PACKAGE_CONTACT "${BRP_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list the orders that have no accounts receivable")
# The summary above is the first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A back-office tool for a sales and billing database: it takes a billing
period and the order types, asks a Firebird database for the orders that
should have produced accounts receivable but did not, and shows them as a
paginated listing that is printed through CUPS, exported to PDF, CSV or
plain text, or saved to a report file.
.
The package holds the program (pedidos), which makes a demo database on its
first start, brptool, which inspects, converts, prints and shows saved
reports, and the demo-data tool pedidos-demo-db.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)   # pedidos_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "firebird3.0-server-core, fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups, man-db")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)

# Installed with DESTDIR set, so the install step does not refresh the build
# machine's own desktop caches, and under /usr whatever prefix the build has.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

include(CPack)
