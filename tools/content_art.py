"""Procedural bitmaps for the skill icons, portraits and arrowheads."""


def build_bitmaps(skills, jobs):
    return {}
