// The input record of one device (mouse movement, a held flag per key) and the mouse pointer.
#pragma once
#include <cstdint>

struct InputDeviceState {
    float axisX;
    float axisY;
    int32_t keyUp;
    int32_t keyDown;
    int32_t keyLeft;
    int32_t keyRight;
    int32_t keyMinus;
    int32_t keyEquals;
    int32_t key1;
    int32_t key2;
    int32_t keyX;
    int32_t keyO;
    int32_t keyD;
    int32_t keyC;
    int32_t keyF;
    int32_t keyG;
    int32_t keyH;
    int32_t keyB;
    int32_t keyR;
    int32_t keyT;
    int32_t keyP;
};

// The mouse pointer of this input pass.
struct ScreenPointer {
    int32_t screenX, screenY;  // desktop pixels
    float windowX, windowY;    // pixels from the game window's corner
    bool onButton;             // within 100 pixels of the bottom-centre button of the title,
                               // instructions and records screens
};
