#include "support/statusnotifierwatcher.h"
