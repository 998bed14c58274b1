# Plays every sound listed in a tab-separated table (columns in, out, factor) factor times
# as long, its pitch kept, with Praat's pitch-synchronous overlap-add, and saves it as a
# 32-bit WAV file (overlap-add may overshoot the input's peak). Overlap-add draws random
# numbers in unvoiced stretches: seeded afresh for each sound, a sound comes out the same
# whichever batch it is in.
form Lengthen every listed sound
  sentence table
endform
list = Read Table from tab-separated file: table$
n = Get number of rows
for i to n
  selectObject: list
  in$ = Get value: i, "in"
  out$ = Get value: i, "out"
  factor = Get value: i, "factor"
  random_initializeWithSeedUnsafelyButPredictably (1)
  sound = Read from file: in$
  longer = Lengthen (overlap-add): 75, 600, factor
  Save as 32-bit WAV file: out$
  removeObject: sound, longer
endfor
