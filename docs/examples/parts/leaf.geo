Path{ noOfFigures 1
    Figure{ startPoint Point{ 60 130 } closed 1 noOfSegments 2
        Bezier{ p1 Point{ 60 40 } p2 Point{ 140 20 } p3 Point{ 190 30 } }
        Bezier{ p1 Point{ 180 100 } p2 Point{ 130 140 } p3 Point{ 60 130 } } }
    hitTest 0 }
