# The Qt layer and the desktop program.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

file(GLOB TALVO_QT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/ui/qt/*.cpp ${CMAKE_SOURCE_DIR}/ui/qt/*.h)
add_library(talvo_qt STATIC ${TALVO_QT_SOURCES})
target_link_libraries(talvo_qt PUBLIC talvo_engine talvo_painter Qt6::Widgets)

file(GLOB TALVO_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/app/*.h
     ${CMAKE_SOURCE_DIR}/app/*.qrc)
list(FILTER TALVO_APP_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(talvo_app STATIC ${TALVO_APP_SOURCES})
target_link_libraries(talvo_app PUBLIC talvo_qt)

add_executable(talvo ${CMAKE_SOURCE_DIR}/app/main.cpp)
target_link_libraries(talvo PRIVATE talvo_app)
