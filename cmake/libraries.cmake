# The Debian libraries the engine is built with, as three targets for the
# build for this machine and for the WebAssembly one alike:
#   recibo_decimal_headers    {fmt} and fast_float, header only: the
#                             engine's doubles written and read
#                             (payroll/decimal_text.cpp)
#   tomlplusplus::tomlplusplus toml++, for scale files, header only as
#                             well: Debian's shared library runs its own
#                             start-up code, which kept 116 kB of it in
#                             memory in a program that reads no scale file
#   recibo_libcsv             libcsv, for the teachers' table
# Emscripten's compiler must not see the whole of /usr/include (the
# machine's C library would take the place of its own): the WebAssembly
# build gets a folder with only the header folders it uses, and compiles
# libcsv from Debian's source package (scripts/web.sh fetches it).
add_library(recibo_decimal_headers INTERFACE)
target_compile_definitions(recibo_decimal_headers INTERFACE FMT_HEADER_ONLY)
add_library(recibo_libcsv INTERFACE)

if(NOT EMSCRIPTEN)
  find_package(fmt REQUIRED)
  find_package(FastFloat REQUIRED)
  find_path(TOMLPLUSPLUS_INCLUDE_DIR toml++/toml.h REQUIRED)
  add_library(tomlplusplus::tomlplusplus INTERFACE IMPORTED)
  target_include_directories(tomlplusplus::tomlplusplus SYSTEM INTERFACE ${TOMLPLUSPLUS_INCLUDE_DIR})
  target_compile_definitions(tomlplusplus::tomlplusplus INTERFACE TOML_HEADER_ONLY=1)
  target_link_libraries(recibo_decimal_headers INTERFACE fmt::fmt-header-only FastFloat::fast_float)
  find_path(LIBCSV_INCLUDE_DIR csv.h REQUIRED)
  find_library(LIBCSV_LIBRARY csv REQUIRED)
  target_include_directories(recibo_libcsv INTERFACE ${LIBCSV_INCLUDE_DIR})
  target_link_libraries(recibo_libcsv INTERFACE ${LIBCSV_LIBRARY})
  return()
endif()

set(RECIBO_LIBCSV_SOURCE "" CACHE PATH "libcsv's unpacked source (libcsv.c, csv.h)")
if(NOT EXISTS "${RECIBO_LIBCSV_SOURCE}/libcsv.c")
  message(FATAL_ERROR "RECIBO_LIBCSV_SOURCE must name libcsv's source folder; scripts/web.sh sets it")
endif()

set(headers ${CMAKE_BINARY_DIR}/debian-headers)
file(MAKE_DIRECTORY ${headers})
foreach(folder fmt fast_float toml++)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/dependencias.sh")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${headers}/${folder} SYMBOLIC)
endforeach()
target_include_directories(recibo_decimal_headers SYSTEM INTERFACE ${headers})

add_library(tomlplusplus::tomlplusplus INTERFACE IMPORTED)
target_include_directories(tomlplusplus::tomlplusplus SYSTEM INTERFACE ${headers})

enable_language(C)
add_library(recibo_libcsv_source STATIC ${RECIBO_LIBCSV_SOURCE}/libcsv.c)
target_include_directories(recibo_libcsv_source SYSTEM PUBLIC ${RECIBO_LIBCSV_SOURCE})
target_link_libraries(recibo_libcsv INTERFACE recibo_libcsv_source)
