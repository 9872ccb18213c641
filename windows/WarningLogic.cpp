#include "windows/WarningLogic.h"
