# Binary packages of kivxmlmerge and kivxmlexport: a Debian package and a
# .tar.gz of the installed tree. Build them from a configured and built tree with
#   cpack -G DEB      (kivxmlmerge_<version>_<arch>.deb)
#   cpack -G TGZ      (kivxmlmerge-<version>-Linux.tar.gz)
# run in the build directory. Both contain what the install rules install.

set(CPACK_PACKAGE_NAME kivxmlmerge)
set(CPACK_PACKAGE_VENDOR "The KIVEX Authors")
set(CPACK_PACKAGE_CONTACT "The KIVEX Authors <kivex-maintainers@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "merge KIVEX XML coverage reports; export them as lcov and Cobertura")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "kivxmlmerge reads the XML coverage reports that kivpost writes for C and\n"
    "C++ programs, merges any number of them into one model, extracts\n"
    "instrumented header code into files of its own, sums the execution hits\n"
    "of every probe, recalculates the test effectiveness ratios and writes a\n"
    "merged profile listing and/or a merged summary XML report.\n"
    "\n"
    "kivxmlexport merges the reports the same way and writes the merged line,\n"
    "branch and function coverage as an lcov tracefile and/or Cobertura XML,\n"
    "for genhtml and CI coverage reports.\n"
    "\n"
    "The package holds both programs, their manual pages and bash completions\n"
    "and an XML Schema of the summary report.")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

# Debian package.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libxml2-utils, lcov")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The shared libraries the program needs are read off the binary where
# dpkg-shlibdeps is at hand; otherwise the C and C++ runtimes are named.
find_program(KIV_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KIV_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1 (>= 3.0)")
endif()

# Source archive (cpack --config CPackSourceConfig.cmake): the tree without
# build directories and version control.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/out/" "\\\\.swp$")

include(CPack)
