# libdeflate, the PNG writer's compressor and crc32, linked statically.
# Cross-building on Debian: built once per build tree from Debian's source package
# (scripts/build-libdeflate.sh), so that the release depends on nothing else installed.
# Natively (the sanitizer build, the fuzz targets, or a build on Windows itself): the
# package's CMake configuration where there is one (vcpkg's, MSYS2's), else the library
# itself (Debian's libdeflate-dev).
add_library(vls_deflate INTERFACE)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(libdeflate CONFIG QUIET)
  foreach(kind static shared)
    if(TARGET libdeflate::libdeflate_${kind})
      message(STATUS "libdeflate: ${libdeflate_DIR} (${kind})")
      target_link_libraries(vls_deflate INTERFACE libdeflate::libdeflate_${kind})
      return()
    endif()
  endforeach()
  find_path(LIBDEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
  if(MINGW)
    set(names libdeflate.a deflate) # the static archive before the DLL's import library
  else()
    set(names deflate deflatestatic) # deflatestatic: MSVC's name when both kinds are built
  endif()
  find_library(LIBDEFLATE_LIBRARY NAMES ${names} REQUIRED)
  target_include_directories(vls_deflate SYSTEM INTERFACE "${LIBDEFLATE_INCLUDE_DIR}")
  target_link_libraries(vls_deflate INTERFACE "${LIBDEFLATE_LIBRARY}")
  return()
endif()
set(VLS_DEPS_DIR "${CMAKE_BINARY_DIR}/_deps")
if(NOT EXISTS "${VLS_DEPS_DIR}/libdeflate-install/lib/libdeflate.a")
  message(STATUS "Building libdeflate for Windows from Debian's source package")
  execute_process(
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-libdeflate.sh" "${VLS_DEPS_DIR}"
    RESULT_VARIABLE libdeflate_result)
  if(NOT libdeflate_result EQUAL 0)
    message(FATAL_ERROR "libdeflate build failed; see ${VLS_DEPS_DIR}/libdeflate-build.log")
  endif()
endif()
target_include_directories(vls_deflate SYSTEM INTERFACE "${VLS_DEPS_DIR}/libdeflate-install/include")
target_link_libraries(vls_deflate INTERFACE "${VLS_DEPS_DIR}/libdeflate-install/lib/libdeflate.a")
