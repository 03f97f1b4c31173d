// The game's entry function, shared by both programs.
#pragma once
int GameMain();
