# Shared build settings and the two functions every folder uses.

set(ATHUP_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
                   -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)

add_library(athup_build_flags INTERFACE)
target_compile_options(athup_build_flags INTERFACE ${ATHUP_WARNINGS})
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports "literal" + std::string as an overlapping memcpy at -O3 (GCC bug 105329).
  target_compile_options(athup_build_flags INTERFACE -Wno-restrict)
endif()
if(ATHUP_WERROR)
  target_compile_options(athup_build_flags INTERFACE -Werror)
endif()
if(ATHUP_SANITIZE)
  target_compile_options(athup_build_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                      -fno-sanitize-recover=undefined)
  target_link_options(athup_build_flags INTERFACE -fsanitize=address,undefined)
endif()
if(ATHUP_BUILD_FUZZ)
  target_compile_options(athup_build_flags INTERFACE -fsanitize=fuzzer-no-link)
endif()
if(CMAKE_BUILD_TYPE MATCHES "Rel")
  target_compile_definitions(athup_build_flags INTERFACE _FORTIFY_SOURCE=2)
  target_compile_options(athup_build_flags INTERFACE -fstack-protector-strong)
  target_link_options(athup_build_flags INTERFACE -Wl,-z,relro,-z,now)
endif()

# athup_add_library(NAME FOLDER DEPS...): one static library per src/ folder, sources found in the
# folder and its subfolders, headers included as "folder/file.h" from src/.
function(athup_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)  # a folder whose first files have not landed yet
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE athup_build_flags)
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# athup_add_test(NAME [QT] LIBS...): one test program from every .cpp of the calling tests/ folder,
# registered with CTest. QT tests run on the offscreen platform and supply their own main().
function(athup_add_test name)
  cmake_parse_arguments(ARG "QT" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} athup_test_support GTest::gtest GTest::gmock
                                        athup_build_flags)
  if(NOT ARG_QT)  # window tests bring their own main, which creates the QApplication
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    ATHUP_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    ATHUP_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ATHUP_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(ARG_QT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
