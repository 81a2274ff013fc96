#include "ActionLog.h"

const char* OutcomeName(ActionOutcome outcome) {
    switch (outcome) {
        case kOutcomePresent:
            return "present";
        case kOutcomeRemoved:
            return "removed";
        case kOutcomeDeferred:
            return "deferred";
        case kOutcomeKept:
            return "kept";
        case kOutcomeNotPresent:
            return "not present";
        case kOutcomeFailed:
            return "failed";
        case kOutcomeDone:
            return "done";
    }
    return "unknown";
}
