// The instructions screen: two pages of instructions and the credits, turned by X or a click.
#include "screens/text_lines.h"
#include "shell/game_app.h"

namespace {

constexpr uint32_t TEXT_COLOUR = 0xFFFAFAFAu;
constexpr int32_t PAGE_LOCK = 5;  // tenths of a second

const TextLine EVERY_PAGE[] = {
    {5, 2, 2, "QUELLAN - VIRTUAL FISHING AT HARROWMERE FISHERIES"},
    {35, 7, 2, "INSTRUCTIONS"},
    {2, 91, 1, GAME_FOOTER_LINE},
    {63, 91, 1, VENUE_FOOTER_LINE},
};

const TextLine CONTINUE_LINE = {29, 85, 2, "Click hear to continue..."};

const TextLine PAGE1[] = {
    {5, 15, 1,
     "QUELLAN is a carp fishing simulator allowing you to fish with 2 rods using many different methods "
     "and baits."},
    {5, 18, 1, "You can choose from a wide selection of tackle and you can even take photographs of your catches!"},
    {5, 24, 1, "The game begins showing an overhead map of Wendlow Lake (one of four on the fishery)."},
    {5, 27, 1,
     "You can move the map by using the \x91" "Move\x92 button on the left of the screen, click on an arrow to "
     "scroll in that direction,"},
    {5, 30, 1, "click the \x91" "X\x92 in the center of the button to center the map."},
    {5, 33, 1,
     "Click one of the 4 zoom buttons to zoom in / out. You can also move the map by using the arrow keys "
     "on your keyboard."},
    {5, 36, 1,
     "Move the mouse pointer around the map \x96 the depth / height at that point is displayed next to the "
     "mouse pointer (in feet)."},
    {5, 42, 1, "Before you go fishing you may select your desired tackle / bait / method combination."},
    {5, 45, 1,
     "Click one of the \x91" "Bait\x92 icons to select that bait. Click one of the \x91" "Groundbait\x92 icons "
     "to select that ground bait."},
    {5, 48, 1, "Click one of the \x91" "Rod / Reel\x92 icons to select that rod / reel combination."},
    {5, 51, 1,
     "Select different line, hooks etc as follows...A diagram of your rig is displayed at the bottom of "
     "the screen."},
    {5, 54, 1,
     "The currently selected main line is shown under the word \x91" "Mainline\x92 (e.g. 10lb) \x96 click on "
     "this number to choose"},
    {5, 57, 1,
     "a different line strength. Do the same for you ledger weight, float size, hooklength, hook etc. "},
    {5, 63, 1, "You are now ready to choose a swim and go fishing!"},
    {5, 66, 1,
     "You will see nine numbers on the map, these are the swims you may fish from,click one of these to "
     "select that swim."},
    {5, 69, 1, "Once you are happy with your choices click \x91" "Go fishing\x92 to go fishing!"},
    {5, 72, 1, "Note : This game includes 9 fishable swims but Wendlow lake actually has 15."},
    {5, 75, 1,
     "You do not have to fish in the swim you have selected, when the game begins you are free to wander "
     "around"},
    {5, 78, 1, "the lake and fish in any of the marked swims."},
};

const TextLine PAGE2[] = {
    {5, 15, 1, "You will now find yourself by your chosen swim in Wendlow Lake."},
    {5, 18, 1,
     "You do not have to fish here, use the mouse buttons to move forwards of backwards,and use the mouse "
     "itself to steer."},
    {5, 21, 1, "Fishing itself is very easy, just follow the on-screen instructions."},
    {5, 24, 1, "Here are some pointers...."},
    {5, 30, 1, "Remember to use plenty of bait to draw the fish in and get them feeding."},
    {5, 33, 1, "A heavy bolt rig will induce fewer takes than a light float but will hook more fish."},
    {5, 36, 1, "Do not cast heavy tackle (or catapult heavy baits) amongst fish - you will spook them."},
    {5, 39, 1, "Wendlow Lake is very well stocked - if you are not catching then try another method or swim."},
    {5, 42, 1, "Press '1' to strike rod 1 or '2' to strike rod 2."},
    {5, 45, 1,
     "There is no need to reel in when you are playing a fish, line is retrieved automaticaly whenever it "
     "is slack enough."},
    {5, 48, 1,
     "Press and hold the right mouse button to increase the clutch setting, and use the left button to "
     "decrease it."},
    {5, 51, 1, "Use the mouse to alter the rod angle."},
    {5, 54, 1,
     "Use the arrow keys on your keyboard to move while playing a fish, move near the water to get you "
     "landing net out."},
    {5, 60, 1, "Good luck and tight lines!."},
    {5, 68, 1,
     "Note : If you do not feel like going fishing press the 'DUCK' button to change to 'Duck Mode' and go "
     "for a swim or a waddle!"},
};

const TextLine CREDITS_LINES[] = {
    {43, 15, 1, "CREDITS"},
    {25, 21, 1, "Concept, programing, sounds and artwork  :"},
    {58, 21, 1, "the Lakeside team"},
    {25, 27, 1, "Beta testers :"},
    {58, 27, 1, "the Wendlow Lake syndicate"},
    {58, 30, 1, "the Harrowmere bailiffs"},
    {58, 33, 1, "the Lakeside play-test group"},
    {25, 39, 1, "Further ideas / concepts  :"},
    {58, 39, 1, "the anglers of Harrowmere Fisheries"},
    {16, 48, 1, "Thanks to everyone at Harrowmere Fisheries for the lake plans, records and pictures,"},
    {28, 51, 1, "and to every angler who reported a catch from Wendlow Lake."},
    {5, 54, 1, "Thanks also to the members of the carp anglers\x92 forum for their ideas, tips and encouragement."},
    {5, 64, 1, "QUELLAN is free to play and to share, as long as it is passed on whole and unchanged."},
    {28, 67, 1, "It comes with no warranty of any kind."},
    {16, 70, 1, "You use it at your own risk."},
};

}  // namespace

void GameApp::DrawInstructionsScreen() {
    device->SetRenderState(plat::RS_FILLMODE, plat::FILL_SOLID);
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
    SetViewCamera(0, 0, -5, 0, 0, 0, 0, 1, 0);
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);

    auto draw = [this](const TextLine& line) { DrawTextAt(line.x, line.y, TEXT_COLOUR, line.text, line.font); };
    for (const TextLine& line : EVERY_PAGE) draw(line);
    switch (instructionsPage) {
        case 1: for (const TextLine& line : PAGE1) draw(line); break;
        case 2: for (const TextLine& line : PAGE2) draw(line); break;
        case 3: for (const TextLine& line : CREDITS_LINES) draw(line); break;
        default: return;
    }
    draw(CONTINUE_LINE);
}

void GameApp::EnterInstructions() {
    gameMode = MODE_INSTRUCTIONS;
    instructionsPage = 1;
}

void GameApp::UpdateInstructionsScreen(InputDeviceState* input) {
    if (input && input->keyX && inputLock == 0) TurnInstructionsPage(*input);
}

void GameApp::ClickInstructions(InputDeviceState& input, const ScreenPointer& pointer) {
    if (leftButtonDown == 1 && inputLock == 0 && pointer.onButton) TurnInstructionsPage(input);
}

// The next page; after the credits, back to the map. The X that turned it is used up.
void GameApp::TurnInstructionsPage(InputDeviceState& input) {
    if (instructionsPage == 3) {
        gameMode = MODE_MAP;
    } else {
        instructionsPage += 1;
    }
    inputLock = PAGE_LOCK;
    input.keyX = 0;
}
