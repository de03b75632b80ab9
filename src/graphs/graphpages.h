#pragma once
// The seven graph windows, each in its own header on the frame of
// graphs/graphpage.h.

#include "graphs/fgrafico1.h"
#include "graphs/fgrafico12.h"
#include "graphs/fgrafico2.h"
#include "graphs/fgrafico3.h"
#include "graphs/fgrafico4.h"
#include "graphs/fgrafico5.h"
#include "graphs/fgrafico6.h"
