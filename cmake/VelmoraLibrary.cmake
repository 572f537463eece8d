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

# Precompiled headers: Qt's and the standard library's headers are most of what each file
# compiles, so every library and test binary compiles them once (not the targets of one
# or a few files: the program, the benchmarks, the fuzz targets, the desktop part of
# platform, the test support and the thread-sanitizer tests, where the header would cost
# more than it saves). The set depends on what
# the target may use: Qt Core and Gui everywhere, Qt Widgets where it is linked, and
# GoogleTest in test binaries. VELMORA_PCH=OFF builds without them.
option(VELMORA_PCH "Precompile the Qt and standard library headers of each library and test" ON)
set(VELMORA_PCH_CORE
  <QByteArray> <QColor> <QDateTime> <QFont> <QHash> <QImage> <QList> <QObject> <QPainter>
  <QString> <QStringList> <QVariant>
  <algorithm> <cstdint> <functional> <map> <memory> <optional> <string> <utility> <vector>)
set(VELMORA_PCH_WIDGETS <QApplication> <QWidget>)
set(VELMORA_PCH_TESTS <gtest/gtest.h> <gmock/gmock.h>)

# Whether target reaches Qt Widgets through the libraries it links.
function(velmora_links_widgets target result)
  set(found FALSE)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib STREQUAL "Qt6::Widgets")
      set(found TRUE)
    elseif(TARGET ${lib} AND lib MATCHES "^(velmora_|test_support$)")
      velmora_links_widgets(${lib} nested)
      if(nested)
        set(found TRUE)
      endif()
    endif()
    if(found)
      break()
    endif()
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

# Gives target the precompiled headers for its kind; TEST adds GoogleTest.
function(velmora_precompile target)
  if(NOT VELMORA_PCH)
    return()
  endif()
  cmake_parse_arguments(ARG "TEST" "" "" ${ARGN})
  set(headers ${VELMORA_PCH_CORE})
  velmora_links_widgets(${target} widgets)
  if(widgets)
    list(APPEND headers ${VELMORA_PCH_WIDGETS})
  endif()
  if(ARG_TEST)
    list(APPEND headers ${VELMORA_PCH_TESTS})
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
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
  velmora_precompile(${name})
endfunction()

# The environment every test runs in: Qt's offscreen platform, a fixed hash seed, locale
# and time zone.
set(VELMORA_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_HASH_SEED=0;LC_ALL=C.UTF-8;TZ=Europe/Berlin")

# Qt Test gives every file of a binary that links it the binary's source and build
# folders as definitions (for QFINDTESTDATA and QTEST_MAIN, which our tests do not use),
# so no file of a test binary could come from ccache in another build folder or clone.
# They are taken off Qt Test as this folder sees it.
function(velmora_drop_test_folder_definitions)
  if(TARGET Qt6::Test)
    get_target_property(definitions Qt6::Test INTERFACE_COMPILE_DEFINITIONS)
    list(FILTER definitions EXCLUDE REGEX "^QT_TESTCASE_(BUILDDIR|SOURCEDIR)=")
    set_target_properties(Qt6::Test PROPERTIES INTERFACE_COMPILE_DEFINITIONS "${definitions}")
  endif()
endfunction()

# One GoogleTest binary per source folder, run by CTest on Qt's offscreen platform.
function(velmora_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  velmora_autogen_follows_sources(${name} "${sources}")
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} test_support GTest::gtest GTest::gmock)
  velmora_precompile(${name} TEST)
  velmora_drop_test_folder_definitions()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${VELMORA_TEST_ENVIRONMENT}" TIMEOUT 900)
endfunction()
