#include "engine/tb_map.h"
