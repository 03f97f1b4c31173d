// Defaults of a fresh or reset device.
#include "device_state.h"
#include <cstring>
#include "d3dx.h"

namespace plat {

void DeviceState::Reset() {
    MatrixIdentity(&world);
    MatrixIdentity(&view);
    MatrixIdentity(&projection);
    std::memset(renderState, 0, sizeof(renderState));
    renderState[RS_ZENABLE] = 1;          // on with a depth buffer
    renderState[RS_FILLMODE] = FILL_SOLID;
    renderState[RS_SHADEMODE] = 2;        // Gouraud
    renderState[RS_ZWRITEENABLE] = 1;
    renderState[RS_ALPHATESTENABLE] = 0;
    renderState[RS_SRCBLEND] = BLEND_ONE;
    renderState[RS_DESTBLEND] = BLEND_ZERO;
    renderState[RS_CULLMODE] = CULL_CCW;
    renderState[RS_ZFUNC] = CMP_LESSEQUAL;
    renderState[RS_ALPHAREF] = 0;
    renderState[RS_ALPHAFUNC] = CMP_ALWAYS;
    renderState[RS_ALPHABLENDENABLE] = 0;
    renderState[RS_FOGENABLE] = 0;
    renderState[RS_SPECULARENABLE] = 0;
    renderState[RS_LIGHTING] = 1;
    renderState[RS_AMBIENT] = 0;
    renderState[RS_NORMALIZENORMALS] = 0;
    std::memset(stageState, 0, sizeof(stageState));
    stageState[TSS_COLOROP] = TOP_MODULATE;
    stageState[TSS_COLORARG1] = TA_TEXTURE;
    stageState[TSS_COLORARG2] = TA_CURRENT;
    stageState[TSS_ALPHAOP] = TOP_SELECTARG1;
    stageState[TSS_ALPHAARG1] = TA_TEXTURE;
    stageState[TSS_ALPHAARG2] = TA_CURRENT;
    std::memset(samplerState, 0, sizeof(samplerState));
    samplerState[SAMP_ADDRESSU] = TADDRESS_WRAP;
    samplerState[SAMP_ADDRESSV] = TADDRESS_WRAP;
    samplerState[SAMP_MAGFILTER] = TEXF_POINT;
    samplerState[SAMP_MINFILTER] = TEXF_POINT;
    samplerState[SAMP_MIPFILTER] = TEXF_NONE;
    std::memset(&material, 0, sizeof(material));
    std::memset(lights, 0, sizeof(lights));
    for (int i = 0; i < MAX_LIGHTS; ++i) {
        lightSet[i] = false;
        lightEnabled[i] = false;
    }
    texture = nullptr;
    stream = nullptr;
    streamOffset = streamStride = 0;
    fvf = 0;
}

}  // namespace plat
