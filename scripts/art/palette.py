"""The one palette of the art set.  Light comes from the top left."""

WINDOW = (230, 230, 230)       # main window background brush
PAPER = (244, 243, 243)        # About box and light banner band
WHITE = (255, 255, 255)        # tree and list view background
BLACK = (0, 0, 0)              # the browsing-area frame

BAR_TOP = (80, 86, 96)         # graphite bar, lit edge at the top
BAR_BOTTOM = (38, 42, 48)
BAR_HIGHLIGHT = (102, 109, 120)
INK = (24, 26, 30)             # shadows and grooves

AMBER = (242, 169, 59)         # the accent: lips, labels, current step
AMBER_LIGHT = (250, 190, 92)
AMBER_DARK = (206, 132, 34)
GREEN = (104, 196, 88)         # play, ready
BLUE = (92, 164, 232)          # enqueue
RED = (214, 84, 72)            # removal

STEEL = (208, 213, 220)        # glyphs on the bar
STEEL_PRESSED = (172, 178, 186)
STEEL_DISABLED = (92, 98, 106)
SILVER = (196, 201, 208)
SILVER_LIGHT = (238, 240, 244)
SLATE = (64, 72, 86)           # text and glyphs on light ground
SLATE_SOFT = (104, 110, 120)

GENRE = (128, 92, 186)
ARTIST = (34, 140, 150)
ALBUM = (56, 108, 190)
FOLDER = (240, 184, 64)
FOLDER_EDGE = (178, 120, 24)
READY = (64, 164, 70)
