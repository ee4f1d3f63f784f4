# Helpers shared by every layer's CMakeLists.

# Warnings apply to our own code only.
function(tb_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# tb_layer(NAME DEPS...): one static library from every .cpp of the calling folder.
function(tb_layer name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
  tb_warnings(${name})
  # Eight sources to a compile unit: the build takes a third less time.
  # Helpers private to a source file must not share a name with another's.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
endfunction()

# tb_test(NAME DIR LIBS...): one GoogleTest program from every .cpp under DIR.
# Every program also runs in the sanitizer build.
function(tb_test name dir)
  set(T_UNPARSED_ARGUMENTS ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${CMAKE_SOURCE_DIR}/tests/TestMain.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_UNPARSED_ARGUMENTS} GTest::gtest GTest::gmock Qt6::Widgets)
  target_compile_definitions(${name} PRIVATE TB_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
                                             TB_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(TB_TEST_FONTS_CONF)
    target_compile_definitions(${name} PRIVATE TB_TEST_FONTS_CONF="${TB_TEST_FONTS_CONF}")
  endif()
  tb_warnings(${name})
  # Line tables are all a failing test's backtrace needs; full debug info
  # would cost a third of the suite's build time.
  target_compile_options(${name} PRIVATE -g1)
  # Test files compile eight to a unit: most of their time goes to the same
  # test and Qt headers. Fixtures in anonymous namespaces are fine there.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  target_compile_options(${name} PRIVATE -Wno-subobject-linkage)
  # Every program above the two layers under the GUI runs under the GUI
  # layer's application object (tests/TestMain.cpp).
  if(NOT "${T_UNPARSED_ARGUMENTS}" MATCHES "^tb_(rtl|db)$")
    target_compile_definitions(${name} PRIVATE TB_GUI_APPLICATION)
  endif()
  # The environment (offscreen platform, sanitizer options) comes from the
  # Makefile, so that no list-valued property is needed here.
  if(TB_SANITIZE)
    # Under the sanitizers a process takes half a second to start, longer than
    # most tests run: each program runs in eight shards of whole processes.
    # The plain build still runs every test in a process of its own.
    foreach(shard RANGE 7)
      add_test(NAME ${name}/${shard} COMMAND ${name})
      set_tests_properties(${name}/${shard} PROPERTIES
        ENVIRONMENT "GTEST_TOTAL_SHARDS=8;GTEST_SHARD_INDEX=${shard}"
        LABELS ${name} TIMEOUT 600)
    endforeach()
  else()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      NO_PRETTY_VALUES
      DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS ${name} TIMEOUT 300)
  endif()
endfunction()

# tb_bench(NAME SOURCES... LIBS ...)
function(tb_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  tb_warnings(${name})
  target_compile_options(${name} PRIVATE -g1)
  set_property(GLOBAL APPEND PROPERTY TB_BENCHMARKS ${name})
endfunction()

# Links the layer libraries among NAMES that exist (layers land one by one).
function(tb_link_existing target)
  foreach(lib ${ARGN})
    if(TARGET ${lib})
      target_link_libraries(${target} PUBLIC ${lib})
    endif()
  endforeach()
endfunction()

# Compiles resources/schema.sql into TARGET as "SchemaSql.h" (SchemaSqlBytes),
# so that it works from any folder: the tool that makes a new database runs it,
# the restore checks a copy's tables and columns against it.
function(tb_embed_schema target)
  set(schema ${CMAKE_SOURCE_DIR}/resources/schema.sql)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_schema)
  set(header ${dir}/SchemaSql.h)
  add_custom_command(
    OUTPUT ${header}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${schema} -DOUTPUT=${header} -P ${CMAKE_SOURCE_DIR}/cmake/EmbedSchema.cmake
    DEPENDS ${schema} ${CMAKE_SOURCE_DIR}/cmake/EmbedSchema.cmake
    COMMENT "Embedding schema.sql")
  target_sources(${target} PRIVATE ${header})
  target_include_directories(${target} PRIVATE ${dir})
endfunction()
