# libpng 1.6 over zlib for the PNG writer.
# Cross-building on Debian: libpng is built once per build tree from Debian's source
# package (scripts/build-libpng.sh) and linked statically over zlib built the same way
# (scripts/build-zlib.sh): MinGW's packaged zlib deflates markedly slower.
# Building on Windows itself: the toolchain's own libpng and zlib (e.g. MSYS2 packages).
add_library(vls_png INTERFACE)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(PNG 1.6 REQUIRED)
  target_link_libraries(vls_png INTERFACE PNG::PNG)
  return()
endif()
set(VLS_DEPS_DIR "${CMAKE_BINARY_DIR}/_deps")
if(NOT EXISTS "${VLS_DEPS_DIR}/zlib-install/lib/libz.a")
  message(STATUS "Building zlib for Windows from Debian's source package")
  execute_process(
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-zlib.sh" "${VLS_DEPS_DIR}"
    RESULT_VARIABLE zlib_result)
  if(NOT zlib_result EQUAL 0)
    message(FATAL_ERROR "zlib build failed; see ${VLS_DEPS_DIR}/zlib-*.log")
  endif()
  # A libpng built over another zlib is built again over this one.
  file(REMOVE_RECURSE "${VLS_DEPS_DIR}/libpng-install")
endif()
if(NOT EXISTS "${VLS_DEPS_DIR}/libpng-install/lib/libpng16.a")
  message(STATUS "Building libpng for Windows from Debian's source package")
  execute_process(
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-libpng.sh" "${VLS_DEPS_DIR}"
    RESULT_VARIABLE libpng_result)
  if(NOT libpng_result EQUAL 0)
    message(FATAL_ERROR "libpng build failed; see ${VLS_DEPS_DIR}/libpng-*.log")
  endif()
endif()
target_include_directories(vls_png SYSTEM INTERFACE
  "${VLS_DEPS_DIR}/libpng-install/include" "${VLS_DEPS_DIR}/zlib-install/include")
target_link_libraries(vls_png INTERFACE
  "${VLS_DEPS_DIR}/libpng-install/lib/libpng16.a" "${VLS_DEPS_DIR}/zlib-install/lib/libz.a")
