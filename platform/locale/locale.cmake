target_sources(quorvel_platform PRIVATE
    locale/FormatSettings.h locale/FormatSettings.cpp
    locale/DisplayForm.h locale/DisplayForm.cpp
)
target_include_directories(quorvel_platform PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/locale)
