# Compiler and linker settings per target kind, and the Wine wrapper that runs Windows programs.
option(KY_SANITIZE "Build the native targets with ASan and UBSan" OFF)

if(WIN32)
  # Narrow (ANSI) Win32; Windows 7 API level; winsock2.h before windows.h is left to the includers.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _CRT_SECURE_NO_WARNINGS)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
  # Static C/C++ run time: no MinGW DLL has to travel with the programs.
  add_link_options(-static -static-libgcc -static-libstdc++)

  # ctest runs every Windows test executable through this wrapper (private prefix in the build tree).
  set(KY_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
else()
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
  if(KY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# Adds every sub-folder of the current folder that has a CMakeLists.txt.
function(ky_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir IN LISTS entries)
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
