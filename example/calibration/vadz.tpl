ptf ~
# Parameter file of the calibration case: the shipped example with the four
# stress multipliers set by PEST++. PEST++ writes it from the template
# vadz.tpl before every model run, each value right-aligned in its field of
# 20 characters (more digits than a double holds, so the program reads back
# exactly the value PEST++ chose). All paths are relative to the case folder,
# which holds the example data; run from inside it:  ./vadz vadz.par

# Active cells: plain flag file, two-character fields, 1 active, 0 inactive.
IBOUND ibound.txt

# Soil types: zoned flag file naming three soils (sand, loam, clay).
SOIL soil.txt

# Recharge curves of every soil, inches of recharge per year against inches
# of precipitation per year. FUNCTION <table file> <1 linear | 2 quadratic>;
# each data line: P, then non-irrigated and irrigated recharge of soil 1,
# soil 2, soil 3. The table of the curves at 0.1-inch steps goes to curves.txt.
FUNCTION curves.txt 1
0   0.0  0.0   0.0  0.0   0.0  0.0
10  0.6  1.2   0.3  0.7   0.1  0.3
20  2.4  4.0   1.2  2.5   0.6  1.4
30  5.0  7.2   2.8  4.8   1.5  2.9
60  14.0 17.5  9.0 12.5   5.5  8.0

# Share of the year's recharge from precipitation in each month (sum 1).
MONTH 0.03 0.03 0.05 0.08 0.12 0.15 0.14 0.12 0.10 0.08 0.06 0.04

# Precipitation kriged from stations: location file, yearly precipitation
# file, drift order (1: linear trend, here wetter to the east).
STATIONS stations.txt precip.txt 1

# Terrain multipliers on the recharge from precipitation: terrain zone file,
# multipliers per zone at scattered points, plot file of the kriged grid,
# and the range the multipliers are held to.
TERRAIN terrain.txt trnmult.txt terrain_plot.txt LIMIT 0.5 1.5

# Data directories of the three state groups (CO, KS, NE), holding the
# yearly area files (YYYY.agw, .asw, .aco, .mi) and the monthly pumping and
# return-flow files (YYYY.MM.pmp, .rcg, .rcs, .rcc). Missing files are zero.
DIR co ks ne

# Steady period: mean of 1985-1989, precipitation-recharge multiplier 1.0.
STEADY 1985 1989 1.0

# Transient years, twelve monthly stress periods each.
TRANSIENT 1990 1992

# Budget table by zone on standard output (the zones are the state groups).
BUDGET budget.txt

# Yearly pumping tables (YYYYannpump.csv) and annual recharge tables
# (annrcp.csv, annrech.csv).
ANNPUMP
ANNRECH

# Yearly grids of precipitation, irrigated acres and recharge from
# precipitation: folder and the three file extensions.
FILE grids ppt irr rcp

# The groundwater-model files: well list and one recharge array file, with
# the cell-by-cell flags written on their header lines.
WELL example.wel
IWELCB 50
RECHARGE example.rch
IRCHCB 50

# The whole basin counts as the mound, so the fourth multiplier scales every
# surface-water input (irrigated area and return flow) and the commingled
# return flow.
MOUND *

# The budget table at full precision, for the instruction file budget.ins.
BUDGETCSV budget.csv

# The stress multipliers: groundwater irrigation of CO, KS and NE, and the
# surface-water and commingled inputs of mound cells.
STRESSF ~      sf_co       ~ ~      sf_ks       ~ ~      sf_ne       ~ ~     sf_mound     ~
