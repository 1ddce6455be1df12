# The modules the programs load the first time they need them (a book's
# compaction, the printer), so that what most runs never use is not loaded
# at every start. They are installed in the program's own folder of the
# library directory (Debian's place for a package's private libraries,
# lib/x86_64-linux-gnu/recibo), whatever the prefix was when configured.
include(GNUInstallDirs)
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(RECIBO_MODULE_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/recibo)
else()
  set(RECIBO_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/recibo)
endif()

# recibo_loaded_module(MODULE USER PREFIX): installs the module target
# MODULE there, and compiles into USER where to look for it: PREFIX_FROM_BINDIR,
# beside the installed programs (relative to their folder), and PREFIX_BUILT,
# where this build wrote it (see page/loaded_module.h).
function(recibo_loaded_module module user prefix)
  set_target_properties(${module} PROPERTIES PREFIX lib CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  install(TARGETS ${module} LIBRARY DESTINATION ${RECIBO_MODULE_DIR})
  get_target_property(name ${module} OUTPUT_NAME)
  file(RELATIVE_PATH from_bindir ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${RECIBO_MODULE_DIR}/lib${name}.so)
  target_compile_definitions(${user} PRIVATE ${prefix}_FROM_BINDIR="${from_bindir}" ${prefix}_BUILT="$<TARGET_FILE:${module}>")
  add_dependencies(${user} ${module})
endfunction()
