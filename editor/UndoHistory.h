#pragma once
// The document window's undo history.
#include "engine/myUndo.h"
