# libpng 1.6 for Windows, built once per build tree from Debian's source package
# (scripts/build-libpng.sh) and linked statically over MinGW's zlib.
set(VLS_DEPS_DIR "${CMAKE_BINARY_DIR}/_deps")
if(NOT EXISTS "${VLS_DEPS_DIR}/libpng-install/lib/libpng16.a")
  message(STATUS "Building libpng for Windows from Debian's source package")
  execute_process(
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-libpng.sh" "${VLS_DEPS_DIR}"
    RESULT_VARIABLE libpng_result)
  if(NOT libpng_result EQUAL 0)
    message(FATAL_ERROR "libpng build failed; see ${VLS_DEPS_DIR}/libpng-*.log")
  endif()
endif()
add_library(vls_png INTERFACE)
target_include_directories(vls_png SYSTEM INTERFACE "${VLS_DEPS_DIR}/libpng-install/include")
target_link_libraries(vls_png INTERFACE
  "${VLS_DEPS_DIR}/libpng-install/lib/libpng16.a" "${CMAKE_FIND_ROOT_PATH}/lib/libz.a")
