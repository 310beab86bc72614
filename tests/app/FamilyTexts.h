#pragma once
// A small family, and what renumbering its individuals from 1 and then its families from 7 makes
// of it: the job's tests and the page's use the same.
namespace halvern::testing {

inline constexpr char kFamily[] =
    "0 HEAD\r\n0 @I7@ INDI\r\n1 FAMS @F2@\r\n0 @I3@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n"
    "1 HUSB @I7@\r\n1 WIFE @I3@\r\n0 TRLR\r\n";
inline constexpr char kIndiThenFam7[] =
    "0 HEAD\r\n0 @I00001@ INDI\r\n1 FAMS @F00007@\r\n0 @I00002@ INDI\r\n1 FAMS @F00007@\r\n0 @F00007@ FAM\r\n"
    "1 HUSB @I00001@\r\n1 WIFE @I00002@\r\n0 TRLR\r\n";

}  // namespace halvern::testing
