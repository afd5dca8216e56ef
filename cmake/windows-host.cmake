# Building on Windows itself with Visual Studio's compiler (the windows-msvc preset): when
# VCPKG_ROOT names a vcpkg (a Visual Studio prompt sets it), vcpkg's toolchain installs
# vcpkg.json's libraries into the build tree; otherwise libdeflate and googletest are
# looked for where CMAKE_PREFIX_PATH points.
if(DEFINED ENV{VCPKG_ROOT})
  file(TO_CMAKE_PATH "$ENV{VCPKG_ROOT}" vcpkg_root)
  if(EXISTS "${vcpkg_root}/scripts/buildsystems/vcpkg.cmake")
    include("${vcpkg_root}/scripts/buildsystems/vcpkg.cmake")
  endif()
endif()
