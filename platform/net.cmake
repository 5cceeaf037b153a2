target_sources(quorvel_platform PRIVATE
    Psock.h Psock.cpp
    NMTime.h NMTime.cpp
)
