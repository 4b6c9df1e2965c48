#include "graph/picture_state.h"

PictureState pictureState;
