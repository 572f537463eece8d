# A new header with a Qt object in it must reach moc in a build folder that exists
# already, but moc's step only reruns for files it saw before. So when a file comes or
# goes, the step's stamp is removed and moc looks at every header again.
function(velmora_autogen_follows_sources target sources)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt)
  string(JOIN "\n" content ${sources})
  set(previous "")
  if(EXISTS ${list_file})
    file(READ ${list_file} previous)
  endif()
  if(NOT previous STREQUAL content)
    file(WRITE ${list_file} "${content}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
  endif()
endfunction()

# Every source folder is one static library; its sources are the .cpp/.h files in it,
# so adding a file needs no edit of a list.
function(velmora_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} STATIC ${sources})
  velmora_autogen_follows_sources(${name} "${sources}")
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# One GoogleTest binary per source folder, run by CTest on Qt's offscreen platform.
function(velmora_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  velmora_autogen_follows_sources(${name} "${sources}")
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} test_support GTest::gtest GTest::gmock)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_HASH_SEED=0;LC_ALL=C.UTF-8;TZ=Europe/Berlin"
    TIMEOUT 900)
endfunction()
