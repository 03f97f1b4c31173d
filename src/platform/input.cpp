// Action-mapped input devices fed by the backend.
#include "input.h"

namespace plat {

namespace {
InputActionManager* g_active = nullptr;
}

InputDevice::InputDevice(InputDeviceKind kind, uint32_t bufferSize) : kind_(kind), bufferSize_(bufferSize) {}

HResult InputDevice::Acquire() { return OK; }
HResult InputDevice::Poll() { return OK; }

HResult InputDevice::GetDeviceData(uint32_t, DeviceEvent* events, uint32_t* count, uint32_t) {
    const uint32_t want = *count;
    uint32_t n = 0;
    auto pressedInThisRead = [&](uintptr_t action) {
        for (uint32_t i = 0; i < n; ++i)
            if (events[i].appData == action && events[i].data == EVENT_PRESSED) return true;
        return false;
    };
    while (n < want && head_ < queue_.size()) {
        const Waiting& next = queue_[head_];
        if (!next.motion && next.event.data != EVENT_PRESSED && pressedInThisRead(next.event.appData)) break;
        events[n++] = next.event;
        ++head_;
    }
    if (head_ == queue_.size()) {
        queue_.clear();
        head_ = 0;
    }
    *count = n;
    return OK;
}

HResult InputDevice::SetDeadZone(uint32_t deadZone) {
    deadZone_ = deadZone;
    return OK;
}

void InputDevice::Push(uint32_t actionCode, uint32_t data, uint32_t timestamp, bool motion) {
    if (motion) {
        for (size_t i = head_; i < queue_.size(); ++i) {
            DeviceEvent& waiting = queue_[i].event;
            if (!queue_[i].motion || waiting.appData != actionCode) continue;
            waiting.data = data;
            waiting.timestamp = timestamp;
            return;
        }
    }
    if (Pending() >= bufferSize_) return;  // buffer full: the event is lost
    queue_.push_back(Waiting{DeviceEvent{0, data, timestamp, sequence_++, actionCode}, motion});
}

void InputDevice::ClearPending() {
    queue_.clear();
    head_ = 0;
}

InputActionManager::InputActionManager() = default;

InputActionManager::~InputActionManager() {
    if (g_active == this) g_active = nullptr;
    for (InputDevice* d : owned_) delete d;
}

InputActionManager* InputActionManager::Active() { return g_active; }

HResult InputActionManager::Create(WindowHandle, const ActionFormat* format, DeviceFoundCallback callback,
                                   void* context) {
    if (!format) return FAIL;
    format_ = *format;
    keyHeld_.assign(static_cast<size_t>(KeyId::Z) + 1, false);
    InputDeviceKind kinds[] = {InputDeviceKind::Keyboard, InputDeviceKind::Mouse};
    for (InputDeviceKind kind : kinds) {
        InputDevice* d = new InputDevice(kind, format_.bufferSize);
        owned_.push_back(d);
        devices_.push_back(DeviceEntry{d, nullptr});
        if (callback) callback(this, d, context);
    }
    g_active = this;
    return OK;
}

void InputActionManager::OnKey(KeyId key, bool down, uint32_t timestamp) {
    if (key == KeyId::None || devices_.empty()) return;
    size_t k = static_cast<size_t>(key);
    if (k < keyHeld_.size()) {
        if (keyHeld_[k] == down) return;  // no auto-repeat
        keyHeld_[k] = down;
    }
    for (const ActionBinding& b : format_.actions)
        if (b.source == InputSource::Key && b.key == key) devices_[0].device->Push(b.actionCode, down ? EVENT_PRESSED : 0, timestamp);
}

void InputActionManager::OnMouseButton(int button, bool down, uint32_t timestamp) {
    if (button < 0 || button > 1 || devices_.size() < 2) return;
    if (buttonHeld_[button] == down) return;
    buttonHeld_[button] = down;
    InputSource src = button == 0 ? InputSource::MouseButtonLeft : InputSource::MouseButtonRight;
    for (const ActionBinding& b : format_.actions)
        if (b.source == src) devices_[1].device->Push(b.actionCode, down ? EVENT_PRESSED : 0, timestamp);
}

void InputActionManager::OnMouseMotion(int32_t dx, int32_t dy, uint32_t timestamp) {
    if (devices_.size() < 2) return;
    for (const ActionBinding& b : format_.actions) {
        if (b.source == InputSource::MouseAxisX && dx != 0)
            devices_[1].device->Push(b.actionCode, static_cast<uint32_t>(dx), timestamp, true);
    }
    for (const ActionBinding& b : format_.actions) {
        if (b.source == InputSource::MouseAxisY && dy != 0)
            devices_[1].device->Push(b.actionCode, static_cast<uint32_t>(dy), timestamp, true);
    }
}

void InputActionManager::OnFocusLost(uint32_t timestamp) {
    if (devices_.size() < 2) return;
    devices_[1].device->ClearPending();
    for (size_t k = 0; k < keyHeld_.size(); ++k)
        if (keyHeld_[k]) OnKey(static_cast<KeyId>(k), false, timestamp);
    for (int b = 0; b < 2; ++b)
        if (buttonHeld_[b]) OnMouseButton(b, false, timestamp);
}

}  // namespace plat
