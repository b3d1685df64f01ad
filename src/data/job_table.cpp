// The twenty jobs, in their fixed table order. Readers find a job by its id,
// never by position: ids 19, 17 and 18 sit at positions 17, 18 and 19.
#include "data/tables.h"

// clang-format off
const JobRecord g_JobTable[kJobCount] = {
    // id, min, max, nodes, pages, points[4], titles[4], names[4], portraits[sex][grade]
    {0, 1, 3, g_SkillTreeBlocks[0].nodes, g_SkillTreeBlocks[0].pages, {49, 49, 20, 59}, {30, 30, 43, 56}, {86, 86, 99, 112}, {{135, 135, 192, 9510}, {134, 134, 193, 9710}}},
    {1, 1, 3, g_SkillTreeBlocks[1].nodes, g_SkillTreeBlocks[1].pages, {49, 49, 20, 59}, {31, 31, 44, 57}, {87, 87, 100, 113}, {{137, 137, 194, 9503}, {136, 136, 195, 9703}}},
    {2, 1, 3, g_SkillTreeBlocks[2].nodes, g_SkillTreeBlocks[2].pages, {49, 49, 20, 59}, {32, 32, 45, 58}, {88, 88, 101, 114}, {{138, 138, 197, 9511}, {138, 138, 197, 9511}}},
    {3, 1, 3, g_SkillTreeBlocks[3].nodes, g_SkillTreeBlocks[3].pages, {49, 49, 20, 59}, {33, 33, 46, 59}, {89, 89, 102, 115}, {{140, 140, 200, 9507}, {139, 139, 201, 9707}}},
    {4, 1, 3, g_SkillTreeBlocks[4].nodes, g_SkillTreeBlocks[4].pages, {49, 49, 20, 59}, {34, 34, 47, 60}, {90, 90, 103, 116}, {{143, 143, 190, 9512}, {142, 142, 191, 9712}}},
    {5, 1, 3, g_SkillTreeBlocks[5].nodes, g_SkillTreeBlocks[5].pages, {49, 49, 20, 59}, {35, 35, 48, 61}, {91, 91, 104, 117}, {{144, 144, 196, 9711}, {144, 144, 196, 9711}}},
    {6, 1, 3, g_SkillTreeBlocks[6].nodes, g_SkillTreeBlocks[6].pages, {49, 49, 20, 59}, {36, 36, 49, 62}, {92, 92, 105, 118}, {{146, 146, 186, 9505}, {145, 145, 187, 9705}}},
    {7, 1, 3, g_SkillTreeBlocks[7].nodes, g_SkillTreeBlocks[7].pages, {49, 49, 20, 59}, {37, 37, 50, 63}, {93, 93, 106, 119}, {{148, 148, 180, 9501}, {147, 147, 183, 9701}}},
    {8, 1, 3, g_SkillTreeBlocks[8].nodes, g_SkillTreeBlocks[8].pages, {49, 49, 20, 59}, {38, 38, 51, 64}, {94, 94, 107, 120}, {{169, 169, 202, 9508}, {149, 149, 203, 9708}}},
    {9, 1, 3, g_SkillTreeBlocks[9].nodes, g_SkillTreeBlocks[9].pages, {49, 49, 20, 59}, {39, 39, 52, 65}, {95, 95, 108, 121}, {{166, 166, 184, 9502}, {167, 167, 185, 9702}}},
    {10, 1, 3, g_SkillTreeBlocks[10].nodes, g_SkillTreeBlocks[10].pages, {49, 49, 20, 59}, {40, 40, 53, 66}, {96, 96, 109, 122}, {{172, 172, 204, 9506}, {171, 171, 205, 9706}}},
    {11, 1, 3, g_SkillTreeBlocks[11].nodes, g_SkillTreeBlocks[11].pages, {49, 49, 20, 59}, {41, 41, 54, 67}, {97, 97, 110, 123}, {{150, 150, 188, 9509}, {179, 179, 189, 9709}}},
    {12, 0, 1, g_SkillTreeBlocks[12].nodes, g_SkillTreeBlocks[12].pages, {98, 98, 0, 0}, {69, 70, 0, 0}, {125, 126, 0, 0}, {{174, 1121, 0, 0}, {176, 1122, 0, 0}}},
    {13, 1, 3, g_SkillTreeBlocks[13].nodes, g_SkillTreeBlocks[13].pages, {49, 49, 20, 59}, {42, 42, 55, 68}, {98, 98, 111, 124}, {{168, 168, 182, 9504}, {170, 170, 181, 9704}}},
    {14, 1, 1, g_SkillTreeBlocks[14].nodes, g_SkillTreeBlocks[14].pages, {49, 49, 0, 0}, {72, 72, 0, 0}, {128, 128, 0, 0}, {{207, 207, 0, 0}, {206, 206, 0, 0}}},
    {15, 1, 1, g_SkillTreeBlocks[15].nodes, g_SkillTreeBlocks[15].pages, {49, 49, 0, 0}, {73, 73, 0, 0}, {129, 129, 0, 0}, {{209, 209, 0, 0}, {208, 208, 0, 0}}},
    {16, 1, 1, g_SkillTreeBlocks[16].nodes, g_SkillTreeBlocks[16].pages, {69, 49, 0, 0}, {75, 75, 0, 0}, {131, 131, 0, 0}, {{211, 1123, 0, 0}, {211, 1123, 0, 0}}},
    {19, 1, 1, g_SkillTreeBlocks[19].nodes, g_SkillTreeBlocks[19].pages, {69, 49, 0, 0}, {76, 76, 0, 0}, {132, 132, 0, 0}, {{210, 1126, 0, 0}, {210, 1126, 0, 0}}},
    {17, 1, 1, g_SkillTreeBlocks[17].nodes, g_SkillTreeBlocks[17].pages, {69, 49, 0, 0}, {77, 78, 0, 0}, {133, 134, 0, 0}, {{213, 1127, 0, 0}, {212, 1128, 0, 0}}},
    {18, 0, 0, g_SkillTreeBlocks[18].nodes, g_SkillTreeBlocks[18].pages, {49, 0, 0, 0}, {79, 0, 0, 0}, {135, 0, 0, 0}, {{215, 0, 0, 0}, {215, 0, 0, 0}}},
};
// clang-format on
