#pragma once

// The steps a chip job goes through: each is one access to the board.
enum class ChipStep { Detect, Read, Write, Verify, Erase, BlankCheck };
