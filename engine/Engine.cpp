#include "engine/Engine.h"
