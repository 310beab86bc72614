#pragma once
#include "ui/Layout.h"

// Sizes, positions and fonts of the information dialog, in pixels at 96 dots per inch (each goes
// through layout::Scale); positions are left and top within the parent.
namespace halvern::layout::info_dialog {

inline constexpr int kClientWidth = 184;
inline constexpr int kClientHeight = 239;

inline constexpr Box kProgramPanel{6, 9, 171, 61};       // pnlProgramma
inline constexpr Box kProgramName{8, 6, 150, 15};        // lblProgrammaNaam
inline constexpr Box kVersionNumber{8, 22, 150, 15};     // lblVersieNummer
inline constexpr Box kVersionDate{8, 38, 150, 16};       // lblVersieDatum

inline constexpr Box kMakerPanel{6, 75, 171, 123};       // pnlCopyRight
inline constexpr Box kMakerHeading{8, 9, 150, 15};       // lblCopyRight
inline constexpr Box kMakerName{8, 25, 150, 16};         // lblNaam
inline constexpr Box kMakerAddress{8, 39, 150, 15};      // lblAdres
inline constexpr Box kMakerPlace{8, 54, 150, 16};        // lblWoonplaats
inline constexpr Box kMakerTelephone{8, 69, 150, 16};    // lblTelefoon
inline constexpr Box kLogoAtRest{8, 125, 155, 36};       // lblSoftware before its first showing

inline constexpr Box kCloseButton{45, 204, 99, 27};      // bbtnSluiten

// The logo animation: the logo starts in kLogoStart, below the lower edge of its panel, and rises
// kLogoStepCount times by kLogoStep, with a pause of kLogoPauseMs after each step.
inline constexpr Box kLogoStart{6, 127, 159, 33};
inline constexpr int kLogoStepCount = 15;
inline constexpr int kLogoStep = 3;
inline constexpr unsigned kLogoPauseMs = 20;

// A font size in points as pixels at 96 dots per inch (8 points: 11 pixels).
constexpr int PointsToPixels(int points) { return (points * kDesignDpi + 36) / 72; }

inline constexpr char kLabelFace[] = "MS Sans Serif";
inline constexpr char kLogoRestFace[] = "Garamond";
inline constexpr char kLogoFace[] = "Comic Sans MS";
inline constexpr int kLabelPoints = 8;
inline constexpr int kMakerNamePoints = 9;
inline constexpr int kLogoRestPoints = 28;
inline constexpr int kLogoPoints = 21;

}  // namespace halvern::layout::info_dialog
