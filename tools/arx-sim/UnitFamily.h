#pragma once

namespace arxsim {

// What sets the five unit types apart on the wire. One row per type; everything the unit
// does differently by type reads this table.
struct UnitFamily {
    int type;
    const char *name; // the family as the application lists it
    char announcement; // 'D' or 'H'
    bool carriesColours; // code and colours in the announcement, a colour frame understood
    bool hasPhantom; // six settings (with 48 V) or five
    char attachLetter; // attach/detach frame the unit understands
    char settingsLetter; // settings frame the unit understands
    char reportLetter; // settings report it answers with
    char levelLetter; // level report it sends while attached
    char colourLetter; // colour frame it understands, 0 for none
    bool hasEqualiser; // understands '%T'
};

inline constexpr UnitFamily UnitFamilies[] = {
    { 1, "ARN1", 'D', true, true, 'F', 'A', 'E', 'G', 'M', false },
    { 2, "VEL-K", 'D', true, false, 'K', 'H', 'J', 'L', 'O', false },
    { 3, "PXL2", 'H', true, true, 'F', 'A', 'E', 'G', 'P', true },
    { 4, "ARN1", 'D', false, true, 'F', 'A', 'E', 'G', 0, false },
    { 5, "VEL-K", 'D', false, false, 'K', 'H', 'J', 'L', 0, false },
};

inline constexpr int FirstUnitType = 1;
inline constexpr int LastUnitType = 5;

// The row of `type`, which must lie in FirstUnitType..LastUnitType.
inline const UnitFamily &familyOf(int type)
{
    return UnitFamilies[type - FirstUnitType];
}

} // namespace arxsim
