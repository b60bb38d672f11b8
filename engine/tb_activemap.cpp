#include "engine/tb_activemap.h"
