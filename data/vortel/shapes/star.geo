Path{ noOfFigures 1
    Figure{ startPoint Point{ 0 -60 } closed 1 noOfSegments 9
      Line{ to Point{ 14.1068 -19.4164 } }
      Line{ to Point{ 57.0634 -18.541 } }
      Line{ to Point{ 22.8254 7.4164 } }
      Line{ to Point{ 35.2671 48.541 } }
      Line{ to Point{ 0 24 } }
      Line{ to Point{ -35.2671 48.541 } }
      Line{ to Point{ -22.8254 7.4164 } }
      Line{ to Point{ -57.0634 -18.541 } }
      Line{ to Point{ -14.1068 -19.4164 } } }
    hitTest 0 }
