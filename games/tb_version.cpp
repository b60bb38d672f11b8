#include "games/tb_version.h"
