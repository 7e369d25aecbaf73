# The Debian package beugwerk (`make package`, or `cpack -G DEB` in a build tree): the command
# line and its server, the verb lists, the manual page, the bash completion and the desktop
# program with its entry and icon. The C++ library (component dev) and the Python module
# (component python) are not in it. Included last, when every install rule is known.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME beugwerk)
set(CPACK_PACKAGE_VENDOR "Beugwerk-Team")
set(CPACK_PACKAGE_CONTACT "Beugwerk-Team <info@beugwerk.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "conjugation of German verbs and infinitive phrases")
# The summary is the first line of the control file's description, this text the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Beugwerk analyses a German infinitive or a short infinitive phrase (prefixes, stress,
reflexive pronoun, weak or strong, haben or sein) and builds every form in main- and
subordinate-clause order, in the reformed, the old or the Swiss orthography.

This package holds the command line beugwerk (tables, HTML pages, JSON, full-form lists,
an HTTP server) and the desktop program beugwerk-gui.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://beugwerk.de")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The programs look for the verb lists under the prefix they were built for, so the package
# installs there: configure with -DCMAKE_INSTALL_PREFIX=/usr for a package of the system.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
# The libraries the programs link, found by dpkg-shlibdeps; the window's icon is an SVG,
# drawn by Qt's plugin, which no program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(BEUGWERK_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion, man-db")

# One package of every component but the library's and the module's.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
get_cmake_property(CPACK_COMPONENTS_ALL COMPONENTS)
list(REMOVE_ITEM CPACK_COMPONENTS_ALL dev python)
include(CPack)
