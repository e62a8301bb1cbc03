# Shared build settings and helpers for every layer.

add_library(brp_build_settings INTERFACE)
target_compile_options(brp_build_settings INTERFACE -Wall -Wextra -Wpedantic -Wno-unused-parameter -Wshadow
                                                    -Woverloaded-virtual -Wnon-virtual-dtor)
# Signals and slots by their macros only; no QString to char* behind the reader's back,
# and char strings become QStrings only where the code says how (QStringLiteral,
# QLatin1String, QString::fromUtf8).
target_compile_definitions(brp_build_settings INTERFACE QT_NO_KEYWORDS QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_ASCII)
if(BRP_WERROR)
  target_compile_options(brp_build_settings INTERFACE -Werror)
endif()
if(BRP_SANITIZE)
  target_compile_options(brp_build_settings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(brp_build_settings INTERFACE -fsanitize=address,undefined)
endif()
if(BRP_FUZZ)
  # Coverage feedback from the libraries under test, not only the target file.
  target_compile_options(brp_build_settings INTERFACE -fsanitize=fuzzer-no-link)
endif()

# brp_add_layer(NAME DEPS ...): a static library made of every .cpp in the
# current folder, with the folder on the include path of its users.
function(brp_add_layer name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                   ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN} PRIVATE brp_build_settings)
endfunction()

# brp_add_test_dir(NAME DEPS ...): one GoogleTest executable from every .cpp in the
# current test folder, registered with CTest on Qt's offscreen platform.
function(brp_add_test_dir name)
  brp_add_test_dir_with_main(${name} ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp ${ARGN})
endfunction()

# brp_add_test_dir_with_main(NAME MAIN DEPS ...): the same with another entry
# point, e.g. "" for a folder whose own .cpp files hold main().
function(brp_add_test_dir_with_main name main)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${_src} ${main})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock Qt6::Test Qt6::Widgets brp_build_settings)
  # Fallbacks for the two folders when a test executable is run by hand.
  target_compile_definitions(${name} PRIVATE BRP_DEFAULT_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             BRP_DEFAULT_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    TEST_LIST ${name}_TESTS)
  # The environment is set on the discovered tests by a script of our own:
  # discovery's PROPERTIES would split this list into separate properties and
  # set only the first variable.
  set(_env "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;BRP_SOURCE_DIR=${PROJECT_SOURCE_DIR};BRP_BINARY_DIR=${PROJECT_BINARY_DIR}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}_env.cmake
       "if(DEFINED ${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"${_env}\")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}_env.cmake)
endfunction()
