// DrawFishingScreen: the fishing frame as its fixed list of steps; each step lives with its concern.
#include "shell/game_app.h"

void GameApp::DrawFishingScreen() {
    FishingFrameStart();                   //  1 angler.cpp
    UpdateWalkingSpeedAndAngles();         //  2 angler.cpp
    StepAnglerAndView();                   //  3 angler.cpp
    SpawnWadingEffects();                  //  4 angler.cpp
    UpdateHookBaitTakenFlags();            //  5 landing.cpp
    UpdateLandingNet();                    //  6 landing.cpp
    DrawSwimFurniture();                   //  7 swim_furniture.cpp
    DrawRodsOnRestsAndFloats();            //  8 swim_furniture.cpp
    LandCasts();                           //  9 casting.cpp
    DrawCatapultInHand();                  // 10 catapult.cpp
    AimCast();                             // 11 casting.cpp
    AimCatapult();                         // 12 catapult.cpp
    CountDownFlightAndPull();              // 13 casting.cpp
    LandCatapultShot();                    // 14 catapult.cpp
    FindNearbySwimAndWalk();               // 15 angler.cpp
    ResolveStrikes();                      // 16 strike_line.cpp
    UpdateTensionDialAndViewLock();        // 17 playing_rod.cpp
    RunSchoolPassAndHeldRod();             // 18 strike_line.cpp
    UpdateLineEndAndReelSounds();          // 19 strike_line.cpp
    DrawLineAndTestSnags();                // 20 strike_line.cpp
    DrawFishingWorldAndGauge();            // 21 landing.cpp
    DrawFishOnMat();                       // 22 landing.cpp
    UpdatePhotoMode();                     // 23 photo.cpp
    DrawBinocularMask();                   // 24 angler.cpp
    DrawFishingTexts();                    // 25 fishing_texts.cpp
    UpdateFishingAmbientSound();           // 26 fishing_texts.cpp
}
