#pragma once
// The date and time the program was built, as "Mmm dd yyyy hh:mm:ss" (the day padded with a blank),
// in UTC. It is SOURCE_DATE_EPOCH when the build had that set, else the time of the source tree's
// last commit, so two builds of one commit are the same program (cmake/BuildStamp.cmake).
const char* BuildStamp();
