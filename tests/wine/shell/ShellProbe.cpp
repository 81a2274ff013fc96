// Child program of the entry tests: reports what the tool's version record and administrator check
// see in a process of its own, as its exit code.
//   shell_probe os     exit code family * 16 + kind
//   shell_probe admin  exit code IsAdministrator()
#include <cstring>

#include "shell/OSInfo.h"

int main(int argc, char** argv) {
    COSInfo os;
    if (argc > 1 && strcmp(argv[1], "os") == 0) return os.GetFamily() * 16 + os.GetKind();
    if (argc > 1 && strcmp(argv[1], "admin") == 0) return os.IsAdministrator();
    return 255;
}
