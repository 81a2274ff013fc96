#include "BuildStamp.h"

// Written at build time into the build folder.
#include "BuildStampText.h"

const char* BuildStamp() {
    return QU_BUILD_STAMP;
}
