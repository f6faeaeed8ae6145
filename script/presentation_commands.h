#pragma once
// The character commands that change how a character or the stage looks or sounds, or that run a
// line of code: the graphic, the animation set, a one-off animation, the character and screen
// effects, the screen colour, a background layer, a sound effect, the music and code. The workers
// take (object, command) and are shared with the flow-command lists of items; the character
// handlers only unpack the running instance.
#include <cstdint>

class cCharaBase;
class cFlowCommand;
struct cCommandInstance;

// The owner tag of a flow animation that no runner started (an item's command list): no runner
// serial is ever negative, so finishing or deleting a flow never takes it away.
constexpr std::int32_t kNoFlowSerial = -1;

// Visibility values of 背景の変更's second parameter.
constexpr std::int32_t kBackgroundShow = 0;
constexpr std::int32_t kBackgroundHide = 1;
constexpr std::int32_t kBackgroundToggle = 2;

// p0 the graphic sheet, p1 the graphic number, p2 the first graphic of the animation frames.
void DoChangeGraphic(cCharaBase& object, const cFlowCommand& command);
// p0 the animation set; the set in use already keeps its animation running.
void DoChangeBaseAnimeSet(cCharaBase& object, const cFlowCommand& command);
// p0 the animation: started in front of the object's flow animations, untimed, owned by the running
// flow of the object (kNoFlowSerial in an item's list or for another object).
void DoRunAnime(cCharaBase& object, const cFlowCommand& command);
// p0 the character effect (0 plain drawing), p1 the run mode, p2 loop.
void DoRunCharaEffect(cCharaBase& object, const cFlowCommand& command);
// p0 the screen effect (0 stops the running one), p1 the run mode, p2 loop.
void DoRunScrEffect(cCharaBase& object, const cFlowCommand& command);
// The command's eight values to the play scene's screen colour.
void DoChangeScreenColour(cCharaBase& object, const cFlowCommand& command);
// p0 the layer from 1, p1 show, hide or toggle; a layer the stage lacks changes nothing.
void DoChangeBackground(cCharaBase& object, const cFlowCommand& command);
// p0 the database sound; with the command's on-screen flag only while the object is on screen.
void DoPlaySE(const cFlowCommand& command, cCharaBase& object);
// p0 the music (0 stops it), p1 the music parameter kept with the request.
void DoPlayBGM(const cFlowCommand& command);
// The command's code text for the object; its result is not used.
void DoRunCode(cCharaBase& object, const cFlowCommand& command);

// The handlers of character commands 25..36; the effect and the picture (28, 31) have their
// workers in effect_commands.h.
void CmdChangeGraphic(cCharaBase& chara, cCommandInstance& instance);
void CmdChangeBaseAnimeSet(cCharaBase& chara, cCommandInstance& instance);
void CmdRunAnime(cCharaBase& chara, cCommandInstance& instance);
void CmdRunEffect(cCharaBase& chara, cCommandInstance& instance);
void CmdRunCharaEffect(cCharaBase& chara, cCommandInstance& instance);
void CmdRunScrEffect(cCharaBase& chara, cCommandInstance& instance);
void CmdShowPicture(cCharaBase& chara, cCommandInstance& instance);
void CmdChangeScreenColour(cCharaBase& chara, cCommandInstance& instance);
void CmdChangeBackground(cCharaBase& chara, cCommandInstance& instance);
void CmdPlaySE(cCharaBase& chara, cCommandInstance& instance);
void CmdPlayBGM(cCharaBase& chara, cCommandInstance& instance);
void CmdRunCode(cCharaBase& chara, cCommandInstance& instance);
