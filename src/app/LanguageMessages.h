#pragma once

// The message numbers of the language files' [String] section that the
// program asks for, in one place, so that a test can hold every shipped
// language file against them. Code that fetches a text by number names a
// constant from here, or adds its number to the list when it starts using it.

#include <array>

// Shell texts.
inline constexpr int kMsgCurrentLayer = 309;   // label before the current layer's number
inline constexpr int kMsgBoxCaption = 450;     // caption of every message box
inline constexpr int kMsgConfirmClose = 451;   // the question asked before the program closes

// Saving the drawing.
inline constexpr int kMsgSaveStatus = 402;     // status line while the save dialog is open
inline constexpr int kMsgNoDxfWriter = 403;    // a DXF file was chosen, which cannot be written
inline constexpr int kMsgNothingToSave = 405;  // the drawing is empty
inline constexpr int kMsgSaveCaption = 406;    // caption of that box

// One slot of the page-text and prompt table: PageTexts[slot] := text of message.
struct TPageTextSlot {
    int slot;
    int message;
};

// Status-line texts of the option pages by page index (0 to 46) and prompts of
// the drawing engine's tasks (50 to 65). Slots not listed stay empty.
inline constexpr std::array<TPageTextSlot, 33> kPageTextSlots{{
    {0, 412}, {1, 413}, {2, 414}, {3, 415}, {5, 416}, {7, 418}, {8, 419},
    {11, 420}, {12, 422}, {13, 423}, {15, 428}, {18, 429}, {22, 430},
    {40, 421}, {41, 424}, {42, 433}, {43, 425}, {46, 427},
    {50, 470}, {51, 471}, {52, 472}, {53, 473}, {54, 474}, {55, 475}, {56, 476},
    {57, 482},
    {59, 477}, {60, 478}, {61, 479}, {62, 480},
    {63, 483}, {64, 484}, {65, 485},
}};

// Every message number that some part of the program fetches.
inline constexpr int kLanguageMessages[] = {
    // Raster and vector file information.
    110, 111, 112, 113, 114, 115, 116, 117, 118,
    180, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193,
    // Entity information and the drawing summary.
    120, 121, 130, 131, 132, 133, 140, 141, 142, 150, 151, 152, 153, 154,
    160, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 194, 195, 196, 197,
    // Command hints of the recently-used bar and the split buttons.
    200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214, 215, 216, 217,
    221, 222, 223, 224, 225, 230, 231,
    240, 241, 242, 243, 244, 245, 246, 247, 248, 249, 250,
    // Explode report, scale labels, polyline simplification.
    300, 301, 302, 303, 304, 310, 311, 312, 313,
    kMsgCurrentLayer,
    // Open, save, vectorize and trace.
    400, kMsgSaveStatus, kMsgNoDxfWriter, kMsgNothingToSave, kMsgSaveCaption, 407, 408, 409, 410, 411,
    // Page status texts.
    412, 413, 414, 415, 416, 418, 419, 420, 421, 422, 423, 424, 425, 427, 428, 429, 430, 433,
    // Entities a command cannot work on.
    431, 432,
    445,
    kMsgBoxCaption, kMsgConfirmClose,
    452, 453, 454, 455, 456, 458, 459, 460, 461, 462, 463, 464,
    // How a tracer run failed.
    465, 466, 467, 468, 469,
    // Task prompts.
    470, 471, 472, 473, 474, 475, 476, 477, 478, 479, 480, 482, 483, 484, 485,
    // NC program, depth passes, simulation, chains, tool dialog.
    701, 702, 703, 704, 705, 706, 707, 708, 709, 717, 718, 719, 720, 721, 722, 723, 724, 725, 750, 751, 754,
};
