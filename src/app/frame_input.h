#pragma once
// The start of every pass of the main loop: the frame pool emptied, input polled, and the
// pointer position stored with y upwards as the drawing code counts it.

void frame_input_begin();
