target_sources(quorvel_platform PRIVATE
    ui/AppTitle.h ui/AppTitle.cpp
    ui/Application.h ui/Application.cpp
    ui/ClockTimer.h ui/ClockTimer.cpp
    ui/Design.h
    ui/DesignLoader.h ui/DesignLoader.cpp
    ui/ErrorBox.h ui/ErrorBox.cpp
    ui/Fonts.h ui/Fonts.cpp
    ui/Guarded.h
    ui/Panel.h ui/Panel.cpp
    ui/StatusBar.h ui/StatusBar.cpp
)
target_include_directories(quorvel_platform PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/ui)
