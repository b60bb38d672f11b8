#include "engine/tb_game.h"
