Path{ noOfFigures 1
  Figure{ startPoint Point{ 0 -10 } closed 1 noOfSegments 2 Line{ to Point{ 9 8 } } Line{ to Point{ -9 8 } } }
  hitTest 0 }
A second geometry here is never read.
