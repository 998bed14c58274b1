# Prints, for every sound named in listFile, one line to outFile: its path and the time (s)
# and F0 (Hz) of each voiced frame in order, from Praat's standard pitch analysis, every
# 2.5 ms: at Praat's own step (10 ms, placed from the middle of the file) a tone's end
# moved by up to 0.4 semitones when a few ms of silence were cut from the file's start.
form Pitch of every listed sound
  sentence listFile
  sentence outFile
endform
list = Read Strings from raw text file: listFile$
n = Get number of strings
deleteFile: outFile$
for i to n
  selectObject: list
  path$ = Get string: i
  sound = Read from file: path$
  pitch = To Pitch: 0.0025, 75, 600
  frames = Get number of frames
  line$ = path$
  for f to frames
    hz = Get value in frame: f, "Hertz"
    if hz <> undefined
      t = Get time from frame number: f
      line$ = line$ + " " + fixed$(t, 4) + ":" + fixed$(hz, 1)
    endif
  endfor
  appendFileLine: outFile$, line$
  removeObject: sound, pitch
endfor
