#pragma once
// 1 when the process runs for a member of the built-in Administrators group, else 0. Outside the NT
// and CE platforms everyone counts as administrator. The group's attributes are not looked at, so a
// token in which the group is only for denying still counts.
int IsUserAdmin();
