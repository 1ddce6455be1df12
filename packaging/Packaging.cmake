# The Debian package: `cpack` in the build directory writes
# recibo_<version>_<architecture>.deb with both programs. The programs, the
# menu entry, the icon and the AppStream metadata are installed by src/app and
# src/batch; this file adds what every Debian package carries (copyright,
# changelog, manual pages) and the package's control fields.
# scripts/paquete.sh builds it in one command.

include(GNUInstallDirs)

set(RECIBO_PACKAGE_MAINTAINER "Equipo de recibo <recibo@recibo.example>"
    CACHE STRING "Maintainer field of the Debian package: a name and <address>")

set(_recibo_packaging_src ${PROJECT_SOURCE_DIR}/packaging)
set(_recibo_packaging_out ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_recibo_packaging_out})

# The changelog's latest entry has to be the version being packaged: dpkg and
# lintian read the version from it.
file(STRINGS ${_recibo_packaging_src}/changelog _recibo_changelog_top LIMIT_COUNT 1)
string(REPLACE "." "\\." _recibo_version_pattern "${PROJECT_VERSION}")
if(NOT _recibo_changelog_top MATCHES "^recibo \\(${_recibo_version_pattern}\\) ")
  message(FATAL_ERROR "packaging/changelog: the first entry has to be for version "
                      "${PROJECT_VERSION}; it is \"${_recibo_changelog_top}\"")
endif()

# Debian keeps the changelog and the manual pages compressed at the highest
# level, without a name or time stamp in the gzip header.
find_program(RECIBO_GZIP gzip REQUIRED)
set(_recibo_compressed)
set(_recibo_to_compress changelog recibo-lote.1)
if(RECIBO_BUILD_GUI)
  list(APPEND _recibo_to_compress recibo.1)
endif()
foreach(_name IN LISTS _recibo_to_compress)
  add_custom_command(
      OUTPUT ${_recibo_packaging_out}/${_name}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${_recibo_packaging_src}/${_name}
              ${_recibo_packaging_out}/${_name}
      COMMAND ${RECIBO_GZIP} -9nf ${_recibo_packaging_out}/${_name}
      DEPENDS ${_recibo_packaging_src}/${_name}
      COMMENT "Compressing ${_name}"
      VERBATIM)
  list(APPEND _recibo_compressed ${_recibo_packaging_out}/${_name}.gz)
endforeach()
add_custom_target(recibo_package_documents ALL DEPENDS ${_recibo_compressed})

install(FILES ${_recibo_packaging_src}/copyright ${_recibo_packaging_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${_recibo_packaging_out}/recibo-lote.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(RECIBO_BUILD_GUI)
  install(FILES ${_recibo_packaging_out}/recibo.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME recibo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Equipo de recibo")
set(CPACK_PACKAGE_CONTACT "${RECIBO_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
# Directories as Debian has them (0755), whatever the umask of who packages.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "calcula el recibo de sueldo mensual de un docente")
set(CPACK_PACKAGE_DESCRIPTION
"Prepara el recibo de haberes de un docente según la escala salarial vigente
desde septiembre de 2010: cada renglón con su código, cantidad, concepto e
importe, el total de haberes, el total de descuentos y el líquido a pagar.
.
El programa de escritorio, recibo, pide el cargo (uno de los 311 del
nomenclador) o las horas cátedra, la antigüedad, la zona, las inasistencias,
los hijos y los descuentos, y muestra e imprime el recibo. La herramienta
recibo-lote calcula de una vez los recibos de toda una planilla CSV y los
escribe en formato JSON, con el mismo cálculo.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps (dpkg-dev) turns the libraries the programs link, Qt 6
# among them, into versioned dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(RECIBO_BUILD_GUI)
  # The libraries alone do not open a window: Qt loads its platform plugins
  # (X11, Wayland) at run time, and libqt6gui6 only recommends them. Qt's
  # own texts (standard buttons, the file dialog) come in Spanish from its
  # translations, a package of their own.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
endif()

# The package_source target (cpack --config CPackSourceConfig.cmake): the
# sources only, without build trees or packages.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build/" "/build-[^/]*/" "/recibo_[^/]*\\.deb$")

include(CPack)
