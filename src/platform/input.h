// Action-mapped input: devices deliver buffered events tagged with the game's action codes.
// Two devices exist, in this order: the keyboard, then the mouse.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "d3d_types.h"

namespace plat {

// Where an action's events come from.
enum class InputSource : uint32_t {
    MouseAxisX, MouseAxisY, MouseButtonLeft, MouseButtonRight, Key
};

// Physical key positions the action map can bind (main-row digits, arrows, letters).
enum class KeyId : uint32_t {
    None, Minus, Equals, Left, Right, Up, Down, F5,
    Num0, Num1, Num2, Num3, Num4, Num5, Num6, Num7, Num8, Num9,
    A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z
};

struct ActionBinding {
    uint32_t actionCode;   // the game's own action number, handed back in events
    InputSource source;
    KeyId key;             // for InputSource::Key
    uint32_t flags;
    const char* name;
};

struct ActionFormat {
    std::string mapName;
    uint32_t genre = 0;
    uint32_t bufferSize = 255;
    int32_t axisMin = -100, axisMax = 100;
    std::vector<ActionBinding> actions;
};

// One buffered event. data: EVENT_PRESSED for a press, 0 for a release of a button or key; the
// signed relative movement for axes. appData: the action code.
constexpr uint32_t EVENT_PRESSED = 0x80;
struct DeviceEvent {
    uint32_t offset;
    uint32_t data;
    uint32_t timestamp;
    uint32_t sequence;
    uintptr_t appData;
};

enum class InputDeviceKind { Keyboard, Mouse };

class InputDevice {
public:
    explicit InputDevice(InputDeviceKind kind, uint32_t bufferSize);
    InputDeviceKind Kind() const { return kind_; }
    HResult Acquire();
    HResult Poll();
    // Takes at most *count events (oldest first); *count becomes the number taken. A read stops
    // before the release of a button or key it has handed out the press of, so that a press and
    // release that came in together still count as held for one frame.
    HResult GetDeviceData(uint32_t eventSize, DeviceEvent* events, uint32_t* count, uint32_t flags);
    HResult SetDeadZone(uint32_t deadZone);
    uint32_t DeadZone() const { return deadZone_; }

    // Fed by the backend: pushes one event (dropped when the buffer is full). A motion event takes
    // the place of the one of the same action still waiting, if any: the game keeps only the last
    // movement of a frame anyway, and a fast mouse can then never fill the buffer.
    void Push(uint32_t actionCode, uint32_t data, uint32_t timestamp, bool motion = false);
    size_t Pending() const { return queue_.size() - head_; }
    void ClearPending();
private:
    InputDeviceKind kind_;
    uint32_t bufferSize_;
    uint32_t deadZone_ = 0;
    uint32_t sequence_ = 0;
    struct Waiting {
        DeviceEvent event;
        bool motion;
    };
    std::vector<Waiting> queue_;
    size_t head_ = 0;
};

struct DeviceEntry {
    InputDevice* device;
    void* userData;
};

class InputActionManager;
using DeviceFoundCallback = HResult (*)(InputActionManager* manager, InputDevice* device, void* context);

class InputActionManager {
public:
    InputActionManager();
    ~InputActionManager();
    // Creates the two devices, calls the callback for each (keyboard first) and installs the map.
    HResult Create(WindowHandle window, const ActionFormat* format, DeviceFoundCallback callback,
                   void* context);
    std::vector<DeviceEntry>& Devices() { return devices_; }
    const ActionFormat& Format() const { return format_; }

    // Backend side: raw input, translated into action events on the devices.
    void OnKey(KeyId key, bool down, uint32_t timestamp);
    void OnMouseButton(int button /*0 left, 1 right*/, bool down, uint32_t timestamp);
    void OnMouseMotion(int32_t dx, int32_t dy, uint32_t timestamp);
    // Focus lost: release every held key and button, drop pending motion.
    void OnFocusLost(uint32_t timestamp);

    // The manager the running program feeds (null when none is open).
    static InputActionManager* Active();
private:
    ActionFormat format_;
    std::vector<DeviceEntry> devices_;
    std::vector<InputDevice*> owned_;
    std::vector<bool> keyHeld_;
    bool buttonHeld_[2] = {false, false};
};

}  // namespace plat
