# The real DLL, built from the same sources against the SDK headers that
# mingw-w64 ships, with its import libraries and its tests under Wine.

# The DLL's names without decoration, for x86-64 and for Visual C++ (whose
# linker matches them to the decorated stdcall symbols by itself).

# The definitions derived below are written at configure time; a change to the
# module definition configures again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                                       ${PROJECT_SOURCE_DIR}/include/VelmoraSound.def)
file(READ ${PROJECT_SOURCE_DIR}/include/VelmoraSound.def VELMORA_DEFINITION)
string(REGEX REPLACE "=[A-Za-z0-9_]+@[0-9]+" "" VELMORA_UNDECORATED_DEFINITION "${VELMORA_DEFINITION}")
file(WRITE ${CMAKE_BINARY_DIR}/VelmoraSound-undecorated.def "${VELMORA_UNDECORATED_DEFINITION}")

if(MSVC)
  # Visual C++ writes VelmoraSound.lib itself; the C++ runtime is linked in.
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  add_library(VelmoraSound SHARED ${VELMORA_SOURCES} ${CMAKE_BINARY_DIR}/VelmoraSound-undecorated.def)
  target_include_directories(VelmoraSound PRIVATE include src)
  target_link_libraries(VelmoraSound PRIVATE ole32 oleaut32)
  add_custom_target(VelmoraSoundImportLibraries)
  install(TARGETS VelmoraSound RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
  install(FILES ${PROJECT_SOURCE_DIR}/include/VelmoraSound.h DESTINATION include)
  if(VELMORA_TESTS)
    enable_testing()
    add_subdirectory(tests/windows)
  endif()
  return()
endif()

string(REGEX REPLACE "g\\+\\+(-posix|-win32)?$" "dlltool" VELMORA_DLLTOOL "${CMAKE_CXX_COMPILER}")
find_program(VELMORA_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 REQUIRED)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # SSE arithmetic: x87 extended precision would change truncated percentages.
  add_compile_options(-msse2 -mfpmath=sse)
  set(VELMORA_LINK_DEF ${PROJECT_SOURCE_DIR}/include/VelmoraSound.def)
  # Hosts compiled from the header refer to the decorated stdcall names
  # (_imp__GetMasterVolume@4); the import libraries map them to the DLL's
  # undecorated ones.
  string(REGEX REPLACE "([A-Za-z0-9_]+)=[A-Za-z0-9_]+(@[0-9]+)" "\\1\\2" VELMORA_IMPORT_DEFINITION
                       "${VELMORA_DEFINITION}")
  set(VELMORA_KILL_AT --kill-at)
  set(VELMORA_LLVM_MACHINE i386)
  set(VELMORA_LLVM_KILL_AT -k)
else()
  # x86-64 has no decoration: the same names and ordinals without @N.
  set(VELMORA_IMPORT_DEFINITION "${VELMORA_UNDECORATED_DEFINITION}")
  set(VELMORA_LINK_DEF ${CMAKE_BINARY_DIR}/VelmoraSound-undecorated.def)
  set(VELMORA_KILL_AT "")
  set(VELMORA_LLVM_MACHINE i386:x86-64)
  set(VELMORA_LLVM_KILL_AT "")
endif()
set(VELMORA_IMPORT_DEF ${CMAKE_BINARY_DIR}/VelmoraSound-import.def)
file(WRITE ${VELMORA_IMPORT_DEF} "${VELMORA_IMPORT_DEFINITION}")

add_library(VelmoraSound SHARED ${VELMORA_SOURCES} ${VELMORA_LINK_DEF})
set_target_properties(VelmoraSound PROPERTIES PREFIX "" OUTPUT_NAME VelmoraSound
                                              IMPORT_PREFIX "linker-" IMPORT_SUFFIX ".dll.a")
target_include_directories(VelmoraSound PRIVATE include src)
target_link_libraries(VelmoraSound PRIVATE ole32 oleaut32)
# Nothing beside the DLL but the system's own libraries.
target_link_options(VelmoraSound PRIVATE -static -static-libgcc -static-libstdc++)

# Import libraries for mingw hosts (libVelmoraSound.dll.a) and for Visual C++
# hosts (VelmoraSound.lib).
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/libVelmoraSound.dll.a ${CMAKE_BINARY_DIR}/VelmoraSound.lib
  COMMAND ${VELMORA_DLLTOOL} ${VELMORA_KILL_AT} --input-def ${VELMORA_IMPORT_DEF}
          --dllname VelmoraSound.dll --output-lib ${CMAKE_BINARY_DIR}/libVelmoraSound.dll.a
  COMMAND ${VELMORA_LLVM_DLLTOOL} -m ${VELMORA_LLVM_MACHINE} ${VELMORA_LLVM_KILL_AT}
          -d ${VELMORA_IMPORT_DEF} -D VelmoraSound.dll -l ${CMAKE_BINARY_DIR}/VelmoraSound.lib
  DEPENDS ${VELMORA_IMPORT_DEF}
  COMMENT "Import libraries for VelmoraSound.dll")
add_custom_target(VelmoraSoundImportLibraries ALL
                  DEPENDS ${CMAKE_BINARY_DIR}/libVelmoraSound.dll.a ${CMAKE_BINARY_DIR}/VelmoraSound.lib)

install(TARGETS VelmoraSound RUNTIME DESTINATION bin)
install(FILES ${CMAKE_BINARY_DIR}/libVelmoraSound.dll.a ${CMAKE_BINARY_DIR}/VelmoraSound.lib
        DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/include/VelmoraSound.h DESTINATION include)

# CLI11 and nlohmann-json are header-only: the build machine's copies are
# staged on their own so that no other header of the build machine is seen.
find_path(VELMORA_HEADER_LIBRARIES CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(VELMORA_STAGED_HEADERS ${CMAKE_BINARY_DIR}/header-libraries)
file(COPY ${VELMORA_HEADER_LIBRARIES}/CLI ${VELMORA_HEADER_LIBRARIES}/nlohmann
     DESTINATION ${VELMORA_STAGED_HEADERS})

# The simulated Core Audio service as an in-process COM server. A host whose
# manifest names it for the device enumerator's class (registration-free COM)
# runs the DLL, unchanged, against simulated cards.
add_library(SimulatedCoreAudio SHARED
  simulated/world.cpp
  simulated/objects.cpp
  simulated/code_pages.cpp
  simulated/reference_cards.cpp
  simulated/topology_model.cpp
  simulated/card_file.cpp
  simulated/service_control.cpp
  simulated/com_server/com_server.cpp
)
set_target_properties(SimulatedCoreAudio PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
target_compile_definitions(SimulatedCoreAudio PRIVATE VELMORA_SIMULATED_SERVICE_DLL)
target_include_directories(SimulatedCoreAudio PRIVATE src simulated)
target_include_directories(SimulatedCoreAudio SYSTEM PRIVATE ${VELMORA_STAGED_HEADERS})
target_link_libraries(SimulatedCoreAudio PRIVATE ole32 oleaut32)
# DllGetClassObject and DllCanUnloadNow are exported without stdcall decoration.
target_link_options(SimulatedCoreAudio PRIVATE -static -static-libgcc -static-libstdc++
                    -Wl,--kill-at)
install(TARGETS SimulatedCoreAudio RUNTIME DESTINATION bin)

add_subdirectory(vsmix)
add_subdirectory(tests/host_scenarios)

if(VELMORA_TESTS)
  enable_testing()
  add_subdirectory(tests/windows)
endif()
